# What the Windows builds ship is lean: built for size, without exceptions or run-time type information
# (nothing in the product throws, catches or asks a type), and linked without the sections nothing uses.
# Code built with exceptions, or a standard container whose failure throws, pulls in the C++ runtime's
# unwinder, its verbose terminate handler and, through that, the demangler and the C library's printf
# machinery: about 200 KB of a program whose own code is a tenth of that.
#
#   optivue_build_lean(TARGET)
#
# A library gets the compile options. An executable gets them too, is linked with unused sections dropped,
# and after the link its debug information moves to TARGET.debug beside it, a symbols file for whoever
# debugs a crash (gdb finds it through the executable's debug link); the executable keeps none. The
# binutils write a new PE time stamp with each step: all of them take the source's time
# (cmake/reproducible.cmake), and the symbols file's checksum in the debug link follows from its bytes.
set(OPTIVUE_LEAN_COMPILE_OPTIONS -Os -g -fno-exceptions -fno-rtti -fno-asynchronous-unwind-tables
    -ffunction-sections -fdata-sections)

function(optivue_build_lean target)
    target_compile_options(${target} PRIVATE ${OPTIVUE_LEAN_COMPILE_OPTIONS})
    get_target_property(type ${target} TYPE)
    if(NOT type STREQUAL "EXECUTABLE")
        return()
    endif()
    target_link_options(${target} PRIVATE -Wl,--gc-sections)
    set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${OPTIVUE_SOURCE_DATE_EPOCH_FILE})
    # The debug link names the symbols file without its folder, so the last step runs beside it.
    add_custom_command(TARGET ${target} POST_BUILD
        COMMAND ${OPTIVUE_AT_SOURCE_DATE} ${CMAKE_OBJCOPY} --only-keep-debug $<TARGET_FILE_NAME:${target}> $<TARGET_FILE_NAME:${target}>.debug
        COMMAND ${OPTIVUE_AT_SOURCE_DATE} ${CMAKE_STRIP} --strip-all $<TARGET_FILE_NAME:${target}>
        COMMAND ${OPTIVUE_AT_SOURCE_DATE} ${CMAKE_OBJCOPY} --add-gnu-debuglink=$<TARGET_FILE_NAME:${target}>.debug $<TARGET_FILE_NAME:${target}>
        WORKING_DIRECTORY $<TARGET_FILE_DIR:${target}>
        VERBATIM)
endfunction()
