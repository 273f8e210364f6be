# The warnings every build shows beyond -Wall -Wextra; with KESTREL_WERROR (on in CI)
# they fail the build. Each flag is here for a kind of fault this code can have.
set(kestrel_warnings
  -Wshadow # a parameter or local hiding a member or an outer name: the wrong one is written
  -Wnon-virtual-dtor # a class deleted through its base skips its own destructor
  -Woverloaded-virtual # a derived overload hides the base's other virtuals of that name
  -Wsuggest-override # an override that silently stops overriding when the base changes
  -Wcast-align # a C-style cast to a more strictly aligned type (g++ on x86 checks it only as =strict: clang's build does)
  -Wcast-qual # a cast that drops const from data a host or a file owns
  -Wconversion # implicit narrowing: sizes truncated, doubles rounded to float, ints to float
  -Wformat=2 # format strings that are not literals
  -Wundef # an unset macro in #if quietly picks a branch
  -Wvla # a stack array sized at run time, e.g. by a host's block size
  -Wimplicit-fallthrough # a case that runs into the next without [[fallthrough]]
)
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
  list(APPEND kestrel_warnings
    -Wmissing-declarations # an external function no header declares: an ODR clash waiting
    -Wduplicated-cond # an if-else chain testing the same condition twice
    -Wduplicated-branches # both branches the same: a copy-paste slip
    -Wlogical-op # && or || that is always true or false, or meant bitwise
  )
elseif(CMAKE_CXX_COMPILER_ID MATCHES "Clang")
  list(APPEND kestrel_warnings
    -Wshadow-all # as g++'s -Wshadow: also constructor parameters hiding fields
    -Wmissing-prototypes # as g++'s -Wmissing-declarations
    -Wno-sign-conversion # clang's -Wconversion adds it; int and size_t mix everywhere by design
    -Wloop-analysis # loop variables never advanced, range loops that copy
    -Wconditional-uninitialized # variables read where a path leaves them unset
  )
endif()
add_compile_options("$<$<COMPILE_LANGUAGE:CXX>:${kestrel_warnings}>")
if(KESTREL_WERROR)
  add_compile_options(-Werror)
endif()
