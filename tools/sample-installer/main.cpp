// A stand-in for the product's installer: it installs nothing and records how it was
// started, so the demo and the end-to-end tests can see the hand-off.
//
// Each start appends one line to the file named by VEXLO_INSTALLER_RECORD (default:
// "installer-record.txt" in the current folder): the program path and every argument,
// each in brackets, so an empty argument or one with blanks stays visible.
#include <cstdio>
#include <cstdlib>
#include <string>

int main(int argc, char** argv) {
    const char* recordPath = std::getenv("VEXLO_INSTALLER_RECORD");
    if (!recordPath || !*recordPath) recordPath = "installer-record.txt";
    std::string line;
    for (int i = 0; i < argc; ++i) {
        if (i > 0) line += ' ';
        line += '[';
        line += argv[i];
        line += ']';
    }
    line += '\n';
    FILE* file = std::fopen(recordPath, "ab");
    if (!file) return 2;
    bool ok = std::fwrite(line.data(), 1, line.size(), file) == line.size();
    ok = (std::fclose(file) == 0) && ok;
    std::printf("sample installer started: %s", line.c_str());
    return ok ? 0 : 2;
}
