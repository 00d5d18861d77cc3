# The facts of the product as the C sources see them in res/product.h: the compiler's preprocessor expands
# each macro, and only the string literals it yields are read here. Each becomes the CMake variable of the
# macro's name (OPTIVUE_PRODUCT_NAME ...), which the setup program's script, the package's source and the
# run command receive as they stand; none of them reads the header's text. Included once, by the top
# directory, so that every directory sees the variables.
set(OPTIVUE_PRODUCT_FACTS OPTIVUE_PRODUCT_NAME OPTIVUE_MAKER OPTIVUE_VERSION_TEXT OPTIVUE_INSTALLATION_FOLDER
    OPTIVUE_PROGRAM_KEY OPTIVUE_CHANGED_VALUE OPTIVUE_STARTUP_SHORTCUT OPTIVUE_PACKAGE_UPGRADE_CODE)

set(probe ${CMAKE_BINARY_DIR}/product_facts.c)
set(probe_text "#include \"product.h\"\n")
foreach(fact IN LISTS OPTIVUE_PRODUCT_FACTS)
    # The name in lower case, which no macro expands.
    string(TOLOWER ${fact} key)
    string(APPEND probe_text "${key}=${fact}\n")
endforeach()
file(WRITE ${probe} "${probe_text}")
execute_process(COMMAND ${CMAKE_C_COMPILER} -E -P -I${OPTIVUE_RES_DIR} ${probe}
    OUTPUT_VARIABLE expanded RESULT_VARIABLE failed)
if(failed)
    message(FATAL_ERROR "the preprocessor could not read res/product.h")
endif()
set_property(DIRECTORY ${CMAKE_SOURCE_DIR} APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${OPTIVUE_RES_DIR}/product.h)
# Each line is name=<string literals>; adjacent literals join, and \\ and \" are the only escapes used.
string(REGEX MATCHALL "[^\n]+" lines "${expanded}")
foreach(line IN LISTS lines)
    if(line MATCHES "^(optivue_[a-z_]+)=(.*)$")
        string(TOUPPER ${CMAKE_MATCH_1} fact)
        string(REGEX MATCHALL "\"([^\"\\\\]|\\\\.)*\"" literals "${CMAKE_MATCH_2}")
        set(text "")
        foreach(literal IN LISTS literals)
            string(REGEX REPLACE "^\"(.*)\"$" "\\1" literal "${literal}")
            string(APPEND text "${literal}")
        endforeach()
        string(REPLACE "\\\"" "\"" text "${text}")
        string(REPLACE "\\\\" "\\" text "${text}")
        set(${fact} "${text}")
    endif()
endforeach()
foreach(fact IN LISTS OPTIVUE_PRODUCT_FACTS)
    if("${${fact}}" STREQUAL "")
        message(FATAL_ERROR "res/product.h gives no string for ${fact}")
    endif()
endforeach()

# For the run command: the facts as shell assignments it sources.
set(shell_text "# Written by the build from res/product.h.\n")
foreach(fact IN LISTS OPTIVUE_PRODUCT_FACTS)
    string(REPLACE "'" "'\\''" quoted "${${fact}}")
    string(APPEND shell_text "${fact}='${quoted}'\n")
endforeach()
file(WRITE ${CMAKE_BINARY_DIR}/product_facts.sh "${shell_text}")
