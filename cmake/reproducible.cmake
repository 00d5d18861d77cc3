# The same source gives the same bytes: two builds of one commit, in any two folders and at any two times,
# make byte-identical executables and installers.
#
# Every time a build writes into what it ships comes from OPTIVUE_SOURCE_DATE_EPOCH: the environment's
# SOURCE_DATE_EPOCH when it is set (scripts/release sets it), otherwise the time of the checked-out commit,
# otherwise 1980-01-01 (the earliest a cabinet's file date can hold). Read at each configure; the file
# source_date_epoch in the build folder changes only with it, and what carries the time depends on it.
#
# No build path goes into what is shipped or into the symbols files: the compiler writes the source folder
# as /optivue and the build folder as /optivue/build (gdb: set substitute-path /optivue <your tree>).
if(DEFINED ENV{SOURCE_DATE_EPOCH})
    set(OPTIVUE_SOURCE_DATE_EPOCH "$ENV{SOURCE_DATE_EPOCH}")
else()
    execute_process(COMMAND git -C ${CMAKE_SOURCE_DIR} log -1 --format=%ct
        OUTPUT_VARIABLE OPTIVUE_SOURCE_DATE_EPOCH OUTPUT_STRIP_TRAILING_WHITESPACE
        RESULT_VARIABLE failed ERROR_QUIET)
    if(failed OR OPTIVUE_SOURCE_DATE_EPOCH STREQUAL "")
        set(OPTIVUE_SOURCE_DATE_EPOCH 315532800)
        message(STATUS "No SOURCE_DATE_EPOCH and no commit: the build's time stamps are 1980-01-01")
    endif()
endif()
if(NOT OPTIVUE_SOURCE_DATE_EPOCH MATCHES "^[0-9]+$" OR OPTIVUE_SOURCE_DATE_EPOCH LESS 315532800)
    message(FATAL_ERROR "SOURCE_DATE_EPOCH must be a time in seconds since 1970 from 1980 on, not '${OPTIVUE_SOURCE_DATE_EPOCH}'")
endif()
set(OPTIVUE_SOURCE_DATE_EPOCH_FILE ${CMAKE_BINARY_DIR}/source_date_epoch)
file(CONFIGURE OUTPUT ${OPTIVUE_SOURCE_DATE_EPOCH_FILE} CONTENT "${OPTIVUE_SOURCE_DATE_EPOCH}\n")

# A command that writes the time into its output: the binutils (the PE header's time stamp) and the
# cabinet writer (file dates in local time) take it from here.
set(OPTIVUE_AT_SOURCE_DATE ${CMAKE_COMMAND} -E env SOURCE_DATE_EPOCH=${OPTIVUE_SOURCE_DATE_EPOCH} TZ=UTC)

# The last option that matches a path wins: the build folder may lie inside the source folder.
add_compile_options("$<$<COMPILE_LANGUAGE:C,CXX>:-ffile-prefix-map=${CMAKE_SOURCE_DIR}=/optivue>"
    "$<$<COMPILE_LANGUAGE:C,CXX>:-ffile-prefix-map=${CMAKE_BINARY_DIR}=/optivue/build>")
