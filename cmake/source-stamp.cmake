# Run at every build (cmake -P): writes velquorin_source.h, naming the
# commit the files are built from, and the commit's time for the release
# zip's entries. The header is rewritten only when its text changes, so a
# build of the same commit recompiles nothing.
#   SOURCE_DIR  the source tree
#   VERSION     the project's version, as 1.0.0
#   OUT         the header to write
# A tree that is not a git checkout (an unpacked source archive) may say
# what it is with VELQUORIN_COMMIT and SOURCE_DATE_EPOCH in the
# environment; else it is "unknown" of 1 January 1980, zip's first day.
set(commit "$ENV{VELQUORIN_COMMIT}")
set(date "$ENV{SOURCE_DATE_EPOCH}")
find_program(GIT git)
if(GIT AND commit STREQUAL "")
  # Only the tree's own repository counts: a copy inside some other
  # checkout must not take that checkout's commit.
  execute_process(COMMAND ${GIT} -C ${SOURCE_DIR} rev-parse --show-toplevel
    OUTPUT_VARIABLE top OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE failed ERROR_QUIET)
  if(NOT failed)
    file(REAL_PATH "${top}" top)
    file(REAL_PATH "${SOURCE_DIR}" source)
  endif()
  if(NOT failed AND top STREQUAL source)
    # Seven hex digits, always: git's own short form grows with the
    # repository, and a clone with more objects would name it longer.
    execute_process(COMMAND ${GIT} -C ${SOURCE_DIR} rev-parse HEAD
      OUTPUT_VARIABLE commit OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
    string(SUBSTRING "${commit}" 0 7 commit)
    # --no-optional-locks: the linux and windows builds ask at once, and a
    # status that refreshed the index would take its lock from the other.
    # Untracked files count (a new source file is built in); the build's
    # own output is ignored by .gitignore.
    execute_process(COMMAND ${GIT} --no-optional-locks -C ${SOURCE_DIR} status --porcelain
      OUTPUT_VARIABLE changes ERROR_QUIET)
    if(NOT changes STREQUAL "")
      string(APPEND commit "-dirty")
    endif()
    if(date STREQUAL "")
      execute_process(COMMAND ${GIT} -C ${SOURCE_DIR} log -1 --format=%ct
        OUTPUT_VARIABLE date OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
    endif()
  endif()
endif()
if(commit STREQUAL "")
  set(commit unknown)
endif()
if(NOT date MATCHES "^[0-9]+$" OR date LESS 315532800)
  set(date 315532800)
endif()
set(VELQUORIN_SOURCE_VERSION "${VERSION}+${commit}")
set(VELQUORIN_SOURCE_DATE "${date}")
configure_file(${CMAKE_CURRENT_LIST_DIR}/source.h.in ${OUT} @ONLY)
