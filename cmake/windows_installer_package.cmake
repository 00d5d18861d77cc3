# The Windows Installer package optivue.msi, made by Debian's wixl from installer/optivue.wxs, with the
# facts of the product that cmake/product_facts.cmake read from res/product.h.
find_program(OPTIVUE_WIXL wixl REQUIRED)
find_program(OPTIVUE_MSIBUILD msibuild REQUIRED)
find_program(OPTIVUE_TOUCH touch REQUIRED)
set(OPTIVUE_PACKAGE_IDENTITY ${CMAKE_CURRENT_LIST_DIR}/../tools/package/package_identity.py)

set(OPTIVUE_PACKAGE_SOURCE ${CMAKE_CURRENT_LIST_DIR}/../installer/optivue.wxs)

# The installation folder in two: the maker's folder, set as a whole, and the program's folder inside it.
string(FIND "${OPTIVUE_INSTALLATION_FOLDER}" "\\" last REVERSE)
string(SUBSTRING "${OPTIVUE_INSTALLATION_FOLDER}" 0 ${last} OPTIVUE_MAKER_FOLDER)
math(EXPR last "${last} + 1")
string(SUBSTRING "${OPTIVUE_INSTALLATION_FOLDER}" ${last} -1 OPTIVUE_FOLDER_NAME)

# optivue_package(OUTPUT file VERSION a.b.c.d PROGRAM file TOOL file [DEPENDS targets...])
# Makes a package of `VERSION` that installs PROGRAM as optivue.exe and TOOL as chgtheme.exe. Its ProductCode
# follows from the UpgradeCode and the version: every release has its own, and a package built again for
# the same version is the same product.
#
# The same source makes the same package (cmake/reproducible.cmake): the cabinet takes each file's
# modification time, so the files carry the source's time (in UTC: the cabinet's dates are local times);
# wixl's own summary information (the time of the run, a random PackageCode) is set afterwards by
# tools/package/package_identity.py to the source's time and a PackageCode that follows from the contents.
function(optivue_package)
    cmake_parse_arguments(PACKAGE "" "OUTPUT;VERSION;PROGRAM;TOOL" "DEPENDS" ${ARGN})
    string(REGEX REPLACE "[{}]" "" namespace "${OPTIVUE_PACKAGE_UPGRADE_CODE}")
    string(UUID product_code NAMESPACE ${namespace} NAME "${PACKAGE_VERSION}" TYPE SHA1 UPPER)
    get_filename_component(name ${PACKAGE_OUTPUT} NAME_WE)
    # wixl finds its files by plain name in the folder it runs in.
    set(stage ${CMAKE_CURRENT_BINARY_DIR}/${name}-files)
    set(part ${stage}/${name}.msi)
    set(uninstall_key "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\${OPTIVUE_PRODUCT_NAME}")
    # Rows that wixl 0.101 cannot write from the WiX source: the launch conditions beside the downgrade
    # check, the follow-up shortcut in the user's Startup folder that the removal deletes, the pending
    # follow-up component's condition and transitivity, and the
    # permissions of both folders and the two files (see the head of installer/optivue.wxs).
    set(unsupported_system "INSERT INTO `LaunchCondition` (`Condition`, `Description`) VALUES ('Installed OR (VersionNT >= 500 AND VersionNT <= 502)', '[OptivueUnsupportedSystem]')")
    set(setup_present "INSERT INTO `LaunchCondition` (`Condition`, `Description`) VALUES ('Installed OR NOT OPTIVUESETUPINSTALLED', '[OptivueSetupPresent]')")
    set(follow_up_shortcut "INSERT INTO `RemoveFile` (`FileKey`, `Component_`, `FileName`, `DirProperty`, `InstallMode`) VALUES ('RemoveFollowUpShortcut', 'Program', '${OPTIVUE_STARTUP_SHORTCUT}', 'OPTIVUEUSERSTARTUP', 2)")
    # msidbComponentAttributesRegistryKeyPath (4) | msidbComponentAttributesTransitive (64)
    set(pending_follow_up "UPDATE `Component` SET `Attributes` = 68, `Condition` = 'OPTIVUEFOLLOWUPPENDING = \"#1\" AND UserSID <> \"S-1-5-18\"' WHERE `Component` = 'PendingFollowUp'")
    # The older version is removed between InstallValidate and InstallInitialize, before the folder actions
    # that follow InstallInitialize (wixl numbers it after them once they are there).
    set(removal_first "UPDATE `InstallExecuteSequence` SET `Sequence` = 1450 WHERE `Action` = 'RemoveExistingProducts'")
    set(lock_table "CREATE TABLE `LockPermissions` (`LockObject` CHAR(72) NOT NULL, `Table` CHAR(32) NOT NULL, `Domain` CHAR(255), `User` CHAR(255) NOT NULL, `Permission` LONG PRIMARY KEY `LockObject`, `Table`, `Domain`, `User`)")
    # GENERIC_ALL, and GENERIC_READ | GENERIC_EXECUTE as the signed number the column holds.
    set(locks "")
    foreach(object "MakerFolder CreateFolder" "ProgramFolder CreateFolder" "optivue.exe File" "chgtheme.exe File")
        string(REPLACE " " ";" object "${object}")
        list(GET object 0 key)
        list(GET object 1 table)
        foreach(grant "Administrators 268435456" "Everyone -1610612736")
            string(REPLACE " " ";" grant "${grant}")
            list(GET grant 0 user)
            list(GET grant 1 permission)
            list(APPEND locks -q "INSERT INTO `LockPermissions` (`LockObject`, `Table`, `User`, `Permission`) VALUES ('${key}', '${table}', '${user}', ${permission})")
        endforeach()
    endforeach()
    # The installing user's shortcut name, as the Shortcut table wants it: without ".lnk".
    string(REGEX REPLACE "[.]lnk$" "" follow_up_shortcut_name "${OPTIVUE_STARTUP_SHORTCUT}")
    add_custom_command(OUTPUT ${PACKAGE_OUTPUT}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${stage}
        COMMAND ${CMAKE_COMMAND} -E copy ${PACKAGE_PROGRAM} ${stage}/optivue.exe
        COMMAND ${CMAKE_COMMAND} -E copy ${PACKAGE_TOOL} ${stage}/chgtheme.exe
        COMMAND ${CMAKE_COMMAND} -E copy ${OPTIVUE_ARTWORK_DIR}/optivue.ico ${stage}/optivue.ico
        COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:optivue_folders> ${stage}/optivue_folders.dll
        COMMAND ${OPTIVUE_TOUCH} -d @${OPTIVUE_SOURCE_DATE_EPOCH} ${stage}/optivue.exe ${stage}/chgtheme.exe
            ${stage}/optivue.ico
        COMMAND ${CMAKE_COMMAND} -E chdir ${stage} ${OPTIVUE_AT_SOURCE_DATE} ${OPTIVUE_WIXL} -a x86 -o ${part}
            -D ProductName=${OPTIVUE_PRODUCT_NAME} -D Maker=${OPTIVUE_MAKER} -D Version=${PACKAGE_VERSION}
            -D UpgradeCode=${OPTIVUE_PACKAGE_UPGRADE_CODE} -D ProductCode={${product_code}}
            -D MakerFolder=${OPTIVUE_MAKER_FOLDER} -D FolderName=${OPTIVUE_FOLDER_NAME}
            -D ProgramKey=${OPTIVUE_PROGRAM_KEY} -D SetupUninstallKey=${uninstall_key}
            -D FollowUpShortcutName=${follow_up_shortcut_name}
            -D ProgramFile=optivue.exe -D ToolFile=chgtheme.exe -D IconFile=optivue.ico
            -D FoldersActionFile=optivue_folders.dll
            ${OPTIVUE_PACKAGE_SOURCE}
        COMMAND ${OPTIVUE_MSIBUILD} ${part} -q ${unsupported_system} -q ${setup_present} -q ${follow_up_shortcut}
            -q ${pending_follow_up} -q ${removal_first} -q ${lock_table} ${locks}
        COMMAND ${OPTIVUE_PYTHON} -B ${OPTIVUE_PACKAGE_IDENTITY} ${part} ${OPTIVUE_PACKAGE_UPGRADE_CODE}
            ${OPTIVUE_SOURCE_DATE_EPOCH}
        COMMAND ${CMAKE_COMMAND} -E rename ${part} ${PACKAGE_OUTPUT}
        DEPENDS ${PACKAGE_DEPENDS} optivue_artwork optivue_folders ${OPTIVUE_PACKAGE_SOURCE} ${OPTIVUE_RES_DIR}/product.h
            ${OPTIVUE_PACKAGE_IDENTITY} ${OPTIVUE_SOURCE_DATE_EPOCH_FILE}
        COMMENT "Making the Windows Installer package ${name}.msi (${PACKAGE_VERSION})"
        VERBATIM)
endfunction()
