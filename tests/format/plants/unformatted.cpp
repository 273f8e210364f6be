// Planted: clang-format would change this file, so the format check must fail on it.
int planted( int a,int b ){ return a+b; }
