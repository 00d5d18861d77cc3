#!/usr/bin/env python3
"""The release checks of the Windows Installer package, on what msitools reads from the built file: its
summary information (Windows Installer 2.0, Intel, English, compressed, the maker and the version, made
and saved at the source's time), the product's facts as res/product.h has them, the rows that make it
per-machine, upgradable and refusing, the permissions it gives the folders and the files, the rows that
keep a pending follow-up run over an upgrade, every reference between its tables, and the files in its
cabinet, byte for byte the ones built.

    check_package.py MSIINFO MSIEXTRACT PACKAGE PRODUCT_HEADER PROGRAM TOOL SOURCE_DATE_EPOCH

Prints every finding and exits with 1 when there is one."""
import calendar
import filecmp
import os
import re
import subprocess
import sys
import tempfile
import time
import uuid

findings = []


def check(condition, finding):
    if not condition:
        findings.append(finding)


def header_strings(path):
    """The string macros of the header: NAME -> text, with C's \\\\ and \\" undone."""
    facts = {}
    with open(path, encoding="utf-8") as header:
        for line in header:
            match = re.match(r'#define (\w+) "((?:[^"\\]|\\.)*)"\s*$', line)
            if match:
                facts[match.group(1)] = match.group(2).replace('\\"', '"').replace("\\\\", "\\")
    return facts


def table(msiinfo, package, name):
    """The rows of a table, each a list of its columns; the three heading lines of the export skipped."""
    # An export writes the table's binary streams (the icon) into the current folder: a scratch one.
    with tempfile.TemporaryDirectory() as scratch:
        text = subprocess.run([msiinfo, "export", os.path.abspath(package), name], check=True,
                              capture_output=True, text=True, encoding="cp1252", cwd=scratch).stdout
    return [line.rstrip("\r").split("\t") for line in text.splitlines()[3:]]


def main(msiinfo, msiextract, package, product_header, program, tool, source_date_epoch):
    facts = header_strings(product_header)
    name, maker, version = facts["OPTIVUE_PRODUCT_NAME"], facts["OPTIVUE_MAKER"], facts["OPTIVUE_VERSION_TEXT"]
    folder, upgrade_code = facts["OPTIVUE_INSTALLATION_FOLDER"], facts["OPTIVUE_PACKAGE_UPGRADE_CODE"]

    summary = dict(line.split(": ", 1) for line in subprocess.run(
        [msiinfo, "suminfo", package], check=True, capture_output=True, text=True).stdout.splitlines()
        if ": " in line)
    check(summary.get("Template") == "Intel;1033", f"platform and language: {summary.get('Template')}")
    check(summary.get("Version", "").startswith("200 "), f"Windows Installer version: {summary.get('Version')}")
    check(summary.get("Source", "").startswith("2 "), f"not a compressed package: {summary.get('Source')}")
    check(summary.get("Author") == maker, f"author: {summary.get('Author')}")
    check(summary.get("Subject") == f"{name} {version}", f"subject: {summary.get('Subject')}")
    check(re.fullmatch(r"\{[0-9A-F-]{36}\}", summary.get("Revision number (UUID)", "")) is not None,
          "no package code")
    # msiinfo gives the times in local time: the test runs in UTC.
    for field in ("Created", "Last saved"):
        try:
            stamp = calendar.timegm(time.strptime(summary.get(field, ""), "%a %b %d %H:%M:%S %Y"))
        except ValueError:
            stamp = None
        check(stamp == int(source_date_epoch), f"{field}: {summary.get(field)}, not the source's time")

    tables = set(subprocess.run([msiinfo, "tables", package], check=True, capture_output=True,
                                text=True).stdout.split())
    rows = {t: table(msiinfo, package, t) for t in tables if not t.startswith("_")}
    properties = {row[0]: row[1] for row in rows["Property"]}
    expected = {"ProductName": name, "Manufacturer": maker, "ProductVersion": version,
                "UpgradeCode": upgrade_code, "ALLUSERS": "1", "ARPNOMODIFY": "1", "ARPNOREPAIR": "1",
                "ARPINSTALLLOCATION": folder, "MakerFolder": folder.rsplit("\\", 1)[0]}
    for key, value in expected.items():
        check(properties.get(key) == value, f"property {key}: {properties.get(key)!r}, not {value!r}")
    # One ProductCode per version, the same whenever that version is built.
    product_code = "{%s}" % str(uuid.uuid5(uuid.UUID(upgrade_code), version)).upper()
    check(properties.get("ProductCode") == product_code, f"ProductCode {properties.get('ProductCode')}")
    check(properties.get("ARPPRODUCTICON") in {row[0] for row in rows["Icon"]}, "the icon is not in the package")

    directories = {row[0]: row for row in rows["Directory"]}
    check(directories["ProgramFolder"][1:] == ["MakerFolder", folder.rsplit("\\", 1)[1]],
          f"program folder {directories['ProgramFolder']}")
    files = {row[2]: row for row in rows["File"]}
    check(set(files) == {"optivue.exe", "chgtheme.exe"}, f"files {sorted(files)}")
    components = {row[0]: row for row in rows["Component"]}
    for file in files.values():
        check(components[file[1]][2] == "ProgramFolder", f"{file[2]} is not in the program folder")
    shortcuts_all = rows["Shortcut"]
    shortcuts = [row for row in shortcuts_all if row[1] != "OPTIVUEUSERSTARTUP"]
    check(len(shortcuts) == 1 and shortcuts[0][2] == name and shortcuts[0][4] == "[#optivue.exe]"
          and shortcuts[0][11] == "ProgramFolder", f"Start menu entry {shortcuts}")

    conditions = {row[0]: row[1] for row in rows["LaunchCondition"]}
    for condition in ("Installed OR (VersionNT >= 500 AND VersionNT <= 502)", "Installed OR NOT OPTIVUESETUPINSTALLED",
                      "NOT WIX_DOWNGRADE_DETECTED"):
        check(condition in conditions, f"no launch condition {condition!r}")
    # Each message is a property, English in the Property table, German set by an action before the check.
    actions = {row[0]: row for row in rows["CustomAction"]}
    for message in conditions.values():
        property_name = message.strip("[]")
        check(property_name in properties, f"message {message} has no text")
        check(any(a[1] == "51" and a[2] == property_name for a in actions.values()), f"{message} has no German")

    upgrades = rows["Upgrade"]
    check(["", version, "1", "WIX_UPGRADE_DETECTED"] in [[u[1], u[2], u[4], u[6]] for u in upgrades]
          and all(u[0] == upgrade_code for u in upgrades), f"upgrade rows {upgrades}")
    for sequence in ("InstallUISequence", "InstallExecuteSequence"):
        order = {row[0]: int(row[2]) for row in rows[sequence]}
        for action in ["FindRelatedProducts", "AppSearch"] + [a for a in actions if a.startswith("German")]:
            check(order.get(action, 10**6) < order["LaunchConditions"], f"{sequence}: {action} after the check")
    order = {row[0]: int(row[2]) for row in rows["InstallExecuteSequence"]}
    check(order["InstallValidate"] < order["RemoveExistingProducts"] < order["InstallInitialize"],
          "the older version is not removed before this one is installed")

    # What the removal takes of the user's: the program's key and its follow-up shortcut.
    check(any(r[1] == "1" and r[3] == "-" and r[2].endswith("\\optiv") for r in rows["Registry"]),
          f"program key not removed: {rows['Registry']}")
    check(any(r[2] == "Optivue.lnk" and r[3] == "OPTIVUEUSERSTARTUP" and r[4] == "2" for r in rows["RemoveFile"]),
          f"follow-up shortcut not removed: {rows['RemoveFile']}")

    # The permissions of both folders (created with them, also when they are there) and of both files, which
    # replace what they had: Administrators full control (GENERIC_ALL), Everyone read and execute
    # (GENERIC_READ | GENERIC_EXECUTE, as the signed number the column holds). Windows Installer adds SYSTEM's
    # full control itself, and maps only these two English names to their well-known SIDs in every language.
    generic_all, read_execute = str(0x10000000), str(0xA0000000 - 2**32)
    locked = {"MakerFolder": "CreateFolder", "ProgramFolder": "CreateFolder", "optivue.exe": "File",
              "chgtheme.exe": "File"}
    wanted = {(key, table, "", user, permission) for key, table in locked.items()
              for user, permission in (("Administrators", generic_all), ("Everyone", read_execute))}
    locks = {tuple(row) for row in rows.get("LockPermissions", [])}
    check(locks == wanted, f"permissions {sorted(locks)}, not {sorted(wanted)}")
    created = {row[0]: row[1] for row in rows.get("CreateFolder", [])}
    check(created == {"MakerFolder": "MakerFolder", "ProgramFolder": "Program"}, f"created folders {created}")
    file_keys = {row[0] for row in rows["File"]}
    check({key for key, table in locked.items() if table == "File"} <= file_keys, f"locked files not in {file_keys}")
    order = {row[0]: int(row[2]) for row in rows["InstallExecuteSequence"]}
    check(order.get("CreateFolders", 0) > order["InstallInitialize"] and
          order.get("CreateFolders", 10**6) < order["InstallFiles"], "folders not created before the files")

    # The folders made safe by optivue_folders.dll (installer/folder_guard.cpp), carried in the Binary table:
    # looked at by an immediate action that changes nothing (1, a DLL of the Binary table), then created or
    # locked by a deferred one that runs as SYSTEM (1 + 1024 deferred + 2048 no impersonation), both after
    # the older version's removal and before any folder or file is written; the deferred one is given the
    # installing administrator and the message.
    check("OptivueFolders" in {row[0] for row in rows.get("Binary", [])}, "optivue_folders.dll is not in the package")
    check(actions.get("LookAtFolders", [])[1:4] == ["1", "OptivueFolders", "LookAtFolders"],
          f"LookAtFolders: {actions.get('LookAtFolders')}")
    check(actions.get("CheckFolders", [])[1:4] == ["3073", "OptivueFolders", "CheckFolders"],
          f"CheckFolders: {actions.get('CheckFolders')}")
    check(actions.get("CheckFoldersData", [])[1:4] == ["51", "CheckFolders",
                                                      "[OptivueAdministratorSid];[OptivueFolderRefused]"],
          f"CheckFoldersData: {actions.get('CheckFoldersData')}")
    conditions_of = {row[0]: row[1] for row in rows["InstallExecuteSequence"]}
    for action in ("LookAtFolders", "CheckFolders", "CheckFoldersData"):
        check(conditions_of.get(action) == "NOT Installed", f"{action} runs on {conditions_of.get(action)!r}")
        check(order["RemoveExistingProducts"] < order["InstallInitialize"] < order.get(action, 0) <
              order["RemoveFolders"] < order["CreateFolders"] < order["InstallFiles"],
              f"{action} is not between the older version's removal and the first folder or file")
    check(order["CheckFoldersData"] < order["LookAtFolders"] < order["CheckFolders"], "the folder actions' order")
    check("OptivueFolderRefused" in properties and "[1]" in properties["OptivueFolderRefused"],
          "the folder refusal's message does not name the folder")

    # A pending follow-up run kept over an upgrade: the flag read before the older version's removal, and
    # put back with the shortcut by a component installed only then.
    locators = {row[0]: row for row in rows["RegLocator"]}
    flag = locators.get("PendingFollowUpFlag", [])
    check(flag[1:4] == ["1", facts["OPTIVUE_PROGRAM_KEY"], facts["OPTIVUE_CHANGED_VALUE"]],
          f"the pending follow-up flag is not read: {flag}")
    check(["OPTIVUEFOLLOWUPPENDING", "PendingFollowUpFlag"] in [row[:2] for row in rows["AppSearch"]],
          "the pending follow-up flag is not searched")
    # Transitive (64, beside the registry key path, 4), so that a repair or a redeploy asks the condition again;
    # never for SYSTEM, as under Group Policy.
    pending = components.get("PendingFollowUp", [""] * 6)
    check(pending[4] == 'OPTIVUEFOLLOWUPPENDING = "#1" AND UserSID <> "S-1-5-18"',
          f"pending follow-up component's condition {pending[4]!r}")
    check(pending[3] == "68", f"pending follow-up component's attributes {pending[3]!r}: not transitive")
    # The user's Startup folder where the shell keeps it, expanded (a directory search), not the Shell Folders copy.
    startup = locators.get("UserStartupFolder", [])
    check(startup[1:] == ["1", "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders",
                          "Startup", "0"], f"the user's Startup folder is read from {startup}")
    check(any(r[0] == pending[5] and r[1] == "1" and r[4] == "#1" and r[5] == "PendingFollowUp"
              for r in rows["Registry"]), "the pending follow-up flag is not put back")
    check(any(r[1] == "OPTIVUEUSERSTARTUP" and r[2] + ".lnk" == facts["OPTIVUE_STARTUP_SHORTCUT"]
              and r[3] == "PendingFollowUp" and r[4] == "[#optivue.exe]" for r in shortcuts_all),
          "the follow-up shortcut is not put back")

    # References between tables.
    for t, column in (("File", 1), ("Registry", 5), ("RemoveFile", 1), ("Shortcut", 3), ("FeatureComponents", 1)):
        for row in rows.get(t, []):
            check(row[column] in components, f"{t} names component {row[column]} that is not there")
    for row in rows["Component"]:
        check(row[2] in directories, f"component {row[0]} in unknown folder {row[2]}")
    for row in rows["Directory"]:
        check(row[1] == "" or row[1] in directories, f"folder {row[0]} has unknown parent {row[1]}")
    for t in ("InstallUISequence", "InstallExecuteSequence"):
        for row in rows[t]:
            check(not row[0].startswith("German") or row[0] in actions, f"{t}: unknown action {row[0]}")

    with tempfile.TemporaryDirectory() as out:
        subprocess.run([msiextract, "-C", out, package], check=True, capture_output=True)
        extracted = {f: os.path.join(root, f) for root, _, names in os.walk(out) for f in names}
        for built, installed in ((program, "optivue.exe"), (tool, "chgtheme.exe")):
            check(installed in extracted and filecmp.cmp(built, extracted[installed], shallow=False),
                  f"{installed} in the package is not the one built")

    for finding in findings:
        print(finding)
    print(f"{package}: {len(findings)} findings")
    return 1 if findings else 0


if __name__ == "__main__":
    if len(sys.argv) != 8:
        print(__doc__)
        sys.exit(2)
    sys.exit(main(*sys.argv[1:]))
