# One interface target carries the language level, the warnings (errors in our code) and the
# sanitizer flags; every target of ours links it.
add_library(hv_common INTERFACE)
target_compile_features(hv_common INTERFACE cxx_std_20)
set(CMAKE_CXX_EXTENSIONS OFF)
target_compile_options(hv_common INTERFACE
  -Wall -Wextra -Wpedantic -Wold-style-cast -Wnon-virtual-dtor -Woverloaded-virtual -Wcast-qual -Werror)
# GCC 12 reports false positives inside the standard library at high optimisation and under the
# sanitizers (std::string concatenation, <regex>); they are not findings in our code.
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
  target_compile_options(hv_common INTERFACE -Wno-restrict -Wno-maybe-uninitialized -Wno-stringop-overflow)
endif()

if(HV_SANITIZE)
  target_compile_options(hv_common INTERFACE -fsanitize=address,undefined -fno-omit-frame-pointer
    -fno-sanitize-recover=undefined)
  target_link_options(hv_common INTERFACE -fsanitize=address,undefined)
endif()

# Qt code: no implicit conversions from char*, only pointer-to-member connects with a context.
add_library(hv_qt_common INTERFACE)
target_link_libraries(hv_qt_common INTERFACE hv_common)
target_compile_definitions(hv_qt_common INTERFACE
  QT_NO_CAST_FROM_ASCII QT_NO_CONTEXTLESS_CONNECT QT_NO_NARROWING_CONVERSIONS_IN_CONNECT)
