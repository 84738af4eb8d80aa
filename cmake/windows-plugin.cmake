# dist/Velquorin.asi: the DLL a player installs.

# The same commit gives the same bytes, wherever and whenever it is built,
# so anyone can check a download against the source: no build folder in
# the files (assert's __FILE__ among them), and in the PE header no link
# time and a fixed image base: ld's automatic one is a hash of the output's
# full path. (The loader moves the DLL anyway.) VELQUORIN_REPRODUCIBLE_LINK
# goes on each shipped file.
add_compile_options(-ffile-prefix-map=${CMAKE_SOURCE_DIR}=.)
set(VELQUORIN_REPRODUCIBLE_LINK -Wl,--no-insert-timestamp -Wl,--disable-auto-image-base)

# The import library that maps our plain names to the script-hook
# library's MSVC-decorated exports.
set(SCRIPT_HOOK_DEF ${CMAKE_SOURCE_DIR}/src/host/ScriptHookV.def)
set(SCRIPT_HOOK_IMPORT ${CMAKE_BINARY_DIR}/libScriptHookV-import.a)
add_custom_command(
  OUTPUT ${SCRIPT_HOOK_IMPORT}
  COMMAND ${CMAKE_DLLTOOL} -d ${SCRIPT_HOOK_DEF} -l ${SCRIPT_HOOK_IMPORT}
  DEPENDS ${SCRIPT_HOOK_DEF}
  COMMENT "Import library for ScriptHookV.dll")
add_custom_target(script_hook_import DEPENDS ${SCRIPT_HOOK_IMPORT})

# The shipped DLL reads its settings with the Windows profile functions;
# the portable reader is for the other builds.
set(VELQUORIN_DLL_SOURCES ${VELQUORIN_PLUGIN_SOURCES})
list(FILTER VELQUORIN_DLL_SOURCES EXCLUDE REGEX "profile_reader\\.cpp$")
# Compiled once: the DLL is linked from these objects, and so is the
# formatting sweep, which runs the DLL's own machine code under Wine.
add_library(velquorin_dll_objects OBJECT ${VELQUORIN_DLL_SOURCES})
target_include_directories(velquorin_dll_objects PUBLIC ${CMAKE_SOURCE_DIR}/src)
target_compile_options(velquorin_dll_objects PRIVATE ${VELQUORIN_WARNINGS} -O2)
add_dependencies(velquorin_dll_objects velquorin_source)  # the log's start line names the commit
# The version resource Explorer shows under Properties, Details.
enable_language(RC)
add_library(Velquorin SHARED $<TARGET_OBJECTS:velquorin_dll_objects> ${CMAKE_SOURCE_DIR}/src/plugin/version.rc)
set_target_properties(Velquorin PROPERTIES LINKER_LANGUAGE CXX)
add_dependencies(Velquorin script_hook_import velquorin_source)
# Ninja knows nothing of what windres includes.
set_source_files_properties(${CMAKE_SOURCE_DIR}/src/plugin/version.rc PROPERTIES
  OBJECT_DEPENDS "${VELQUORIN_SOURCE_HEADER};${CMAKE_BINARY_DIR}/generated/velquorin_version.h")
target_link_libraries(Velquorin PRIVATE ${SCRIPT_HOOK_IMPORT})
# Everything of the C++ runtime goes inside the DLL: a game folder has no
# MinGW runtime, and a missing DLL is the commonest "failed to load".
target_link_options(Velquorin PRIVATE -static -static-libgcc -static-libstdc++ -s ${VELQUORIN_REPRODUCIBLE_LINK})
# Nothing loads the plug-in by name but the loader, which needs no export:
# without this the linker would export every function and global of ours
# and the unwinder's.
target_link_options(Velquorin PRIVATE -Wl,--exclude-all-symbols)
# The linker's map, beside the build: the Windows benchmark finds the
# plug-in's records through it, since the DLL exports nothing. It changes
# nothing in the DLL.
set(VELQUORIN_PLUGIN_MAP ${CMAKE_BINARY_DIR}/Velquorin.map)
target_link_options(Velquorin PRIVATE -Wl,-Map=${VELQUORIN_PLUGIN_MAP})
set_target_properties(Velquorin PROPERTIES
  PREFIX ""
  SUFFIX ".asi"
  RUNTIME_OUTPUT_DIRECTORY ${CMAKE_SOURCE_DIR}/dist
  LIBRARY_OUTPUT_DIRECTORY ${CMAKE_SOURCE_DIR}/dist)
add_custom_command(TARGET Velquorin POST_BUILD
  COMMAND ${CMAKE_COMMAND} -E copy_if_different ${CMAKE_SOURCE_DIR}/Velquorin.ini ${CMAKE_SOURCE_DIR}/dist/Velquorin.ini)

enable_testing()
add_test(NAME dll_imports
  COMMAND ${CMAKE_SOURCE_DIR}/tests/check-dll-imports.sh ${CMAKE_OBJDUMP} $<TARGET_FILE:Velquorin>)
set_tests_properties(dll_imports PROPERTIES LABELS windows)

if(EXISTS ${CMAKE_SOURCE_DIR}/tests/windows/CMakeLists.txt)
  add_subdirectory(tests/windows)
endif()

# The benchmark's Windows build runs on the test host (tests/windows).
if(EXISTS ${CMAKE_SOURCE_DIR}/bench/CMakeLists.txt)
  add_subdirectory(bench)
endif()

if(EXISTS ${CMAKE_SOURCE_DIR}/tools/check/CMakeLists.txt)
  add_subdirectory(tools/check)
endif()

add_test(NAME dist_zip COMMAND bash ${CMAKE_SOURCE_DIR}/tests/dist-test.sh ${CMAKE_SOURCE_DIR} ${PROJECT_VERSION})
set_tests_properties(dist_zip PROPERTIES LABELS windows)
# The Windows files and the zip, built and packed a second time elsewhere:
# the same bytes. A build of its own, so it may take some minutes.
add_test(NAME reproducible_build COMMAND bash ${CMAKE_SOURCE_DIR}/tests/reproducible-build.sh ${CMAKE_SOURCE_DIR})
set_tests_properties(reproducible_build PROPERTIES LABELS windows TIMEOUT 900)
