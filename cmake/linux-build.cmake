# The native build: the plug-in as a shared object that the simulated host
# loads afresh for every scenario, plus the tests and tools around it.
find_package(GTest REQUIRED)
find_package(Boost 1.74 REQUIRED COMPONENTS context)
include(GoogleTest)
enable_testing()

if(VELQUORIN_SANITIZE)
  set(SANITIZE_FLAGS -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_compile_options(${SANITIZE_FLAGS})
  add_link_options(${SANITIZE_FLAGS})
endif()

# Like the DLL, the plug-in takes its profile functions from its host (the
# simulated host answers them with the portable reader), so the host sees
# every settings read.
set(VELQUORIN_MODULE_SOURCES ${VELQUORIN_PLUGIN_SOURCES})
list(FILTER VELQUORIN_MODULE_SOURCES EXCLUDE REGEX "profile_reader\\.cpp$")

# -fno-gnu-unique: unique symbols would pin the library in memory, and its
# globals would survive dlclose into the next load.
add_library(velquorin MODULE ${VELQUORIN_MODULE_SOURCES})
target_include_directories(velquorin PRIVATE ${CMAKE_SOURCE_DIR}/src)
target_compile_options(velquorin PRIVATE ${VELQUORIN_WARNINGS} -fno-gnu-unique)
target_link_options(velquorin PRIVATE -Wl,-Bsymbolic)
set_target_properties(velquorin PROPERTIES LIBRARY_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
# The log's start line names the commit.
add_dependencies(velquorin velquorin_source)

# The same sources linked in directly, for tests of single functions.
add_library(velquorin_static STATIC ${VELQUORIN_MODULE_SOURCES})
target_include_directories(velquorin_static PUBLIC ${CMAKE_SOURCE_DIR}/src)
target_compile_options(velquorin_static PRIVATE ${VELQUORIN_WARNINGS})
add_dependencies(velquorin_static velquorin_source)

add_library(velquorin_sim STATIC
  ${CMAKE_SOURCE_DIR}/sim/host.cpp
  ${CMAKE_SOURCE_DIR}/sim/world.cpp
  ${CMAKE_SOURCE_DIR}/sim/keyboard.cpp
  ${CMAKE_SOURCE_DIR}/sim/controls.cpp
  ${CMAKE_SOURCE_DIR}/sim/platform_posix.cpp
  ${CMAKE_SOURCE_DIR}/src/settings/profile_reader.cpp
  ${CMAKE_SOURCE_DIR}/src/host/game_controls_table.cpp)
target_include_directories(velquorin_sim PUBLIC ${CMAKE_SOURCE_DIR} PRIVATE ${CMAKE_SOURCE_DIR}/src)
target_compile_options(velquorin_sim PRIVATE ${VELQUORIN_WARNINGS})
target_link_libraries(velquorin_sim PUBLIC ${CMAKE_DL_LIBS} PRIVATE Boost::context)

# Counts every heap allocation of the program that links it (the scenarios
# and the benchmark), the plug-in's included.
add_library(velquorin_alloc_count OBJECT ${CMAKE_SOURCE_DIR}/sim/alloc_count_posix.cpp)
target_include_directories(velquorin_alloc_count PUBLIC ${CMAKE_SOURCE_DIR})
target_compile_options(velquorin_alloc_count PRIVATE ${VELQUORIN_WARNINGS})

# A program that hosts the plug-in exports the host's functions to it.
function(velquorin_host_executable target)
  set_target_properties(${target} PROPERTIES ENABLE_EXPORTS ON RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
  target_link_libraries(${target} PRIVATE velquorin_sim)
  add_dependencies(${target} velquorin)
endfunction()

foreach(dir tests tools bench tests/fuzz)
  if(EXISTS ${CMAKE_SOURCE_DIR}/${dir}/CMakeLists.txt)
    add_subdirectory(${dir})
  endif()
endforeach()
