# The music pack generator, its library (packgen_lib) and program (packgen), defined once for
# every build that makes it: the program's (tools/CMakeLists.txt) and the fuzzer's (tests/fuzz),
# so neither keeps its own list of the generator's sources or libraries. The including project
# provides the targets PkgConfig::OPENMPT and Threads::Threads.
get_filename_component(PACKGEN_ROOT ${CMAKE_CURRENT_LIST_DIR}/../.. ABSOLUTE)
file(GLOB PACKGEN_SOURCES CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/*.cpp
     ${CMAKE_CURRENT_LIST_DIR}/*.h)
list(FILTER PACKGEN_SOURCES EXCLUDE REGEX "/pack/main\\.cpp$")
add_library(packgen_lib STATIC ${PACKGEN_SOURCES} ${PACKGEN_ROOT}/player/song_catalog.h)
target_include_directories(packgen_lib PUBLIC ${PACKGEN_ROOT})
target_link_libraries(packgen_lib PUBLIC PkgConfig::OPENMPT Threads::Threads)

add_executable(packgen ${CMAKE_CURRENT_LIST_DIR}/main.cpp)
target_link_libraries(packgen PRIVATE packgen_lib)
