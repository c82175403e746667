// The command-line help as the user must see it, written out by hand so
// that a change of the switch table or of its layout shows.
#pragma once

constexpr wchar_t kExpectedUsageText[] =
    L"Command Line Keys:\n\n"
    L"/exit        - complete all previous running instances of Quillora\n"
    L"/autoload    - detect when Quillora start automatically with Windows\n"
    L"/ua          - no set \"Start with Windows\" on first running\n"
    L"/noinstall   - no install services on start of Quillora\n"
    L"/?           - print arguments of command line description and exit\n"
    L"/edit        - Start the PhraseEditor or change settings\n"
    L"/asadmin     - Start second instance of Quillora as administator\n"
    L"/showmenu    - Show menu on Quillora tray icon\n"
    L"/cfu         - check for updates\n"
    L"\n\nPress Ctrl+C to copy into clipboard";
