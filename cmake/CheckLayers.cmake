# cmake -DROOT=<source dir> -P CheckLayers.cmake: dependencies point inward. Every include
# path is relative to the root, so the include path alone cannot stop a file from reaching
# outward; this check does. Each rule: files (globs under ROOT), then the include prefixes
# they must not use.
set(rules
  "wdl/*.h|wdl/IPlug/ plugin/ graphics/ platform/ tools/ tests/"
  "wdl/IPlug/*.h wdl/IPlug/*.cpp|wdl/IPlug/au/ wdl/IPlug/vst/ plugin/ graphics/ tools/ tests/"
  "wdl/IPlug/au/*|wdl/IPlug/vst/ plugin/ tools/ tests/"
  "wdl/IPlug/vst/*|wdl/IPlug/au/ plugin/ tools/ tests/"
  "wdl/IPlug/graphics/*|wdl/IPlug/au/ wdl/IPlug/vst/ plugin/ tools/ tests/"
  "graphics/*|wdl/IPlug/ plugin/ tools/ tests/"
  "platform/*|wdl/ plugin/ graphics/ tools/ tests/"
  "rbjfilter/* simpleSource/*|wdl/ plugin/ graphics/ platform/ tools/ tests/"
  "plugin/*|tools/ tests/")

set(faults "")
foreach(rule ${rules})
  string(REPLACE "|" ";" parts "${rule}")
  list(GET parts 0 globs)
  list(GET parts 1 forbidden)
  separate_arguments(globs)
  separate_arguments(forbidden)
  set(files "")
  foreach(glob ${globs})
    if(glob MATCHES "/\\*$")
      file(GLOB_RECURSE found RELATIVE ${ROOT} ${ROOT}/${glob}.h ${ROOT}/${glob}.cpp)
    else()
      file(GLOB found RELATIVE ${ROOT} ${ROOT}/${glob})
    endif()
    list(APPEND files ${found})
  endforeach()
  foreach(f ${files})
    file(STRINGS ${ROOT}/${f} includes REGEX "^#include \"")
    foreach(line ${includes})
      foreach(prefix ${forbidden})
        if(line MATCHES "^#include \"${prefix}")
          string(APPEND faults "${f}: ${line}\n")
        endif()
      endforeach()
    endforeach()
  endforeach()
endforeach()
if(faults)
  message(FATAL_ERROR "includes that point outward:\n${faults}")
endif()
