#include "appmodel/shell/ShellCommandLine.h"

namespace qs {

ShellCommandLine ShellCommandLine::Parse(const std::vector<std::string>& args) {
    ShellCommandLine cl;
    bool optionsEnded = false;
    auto fail = [&cl](std::string why) {
        cl.action = Action::kBad;
        cl.error = std::move(why);
        cl.file.clear();
        return cl;
    };
    for (const std::string& arg : args) {
        if (!optionsEnded && arg.size() > 1 && arg[0] == '-') {
            if (arg == "--") optionsEnded = true;
            else if (arg == "--minimized") cl.minimized = true;
            else if (arg == "--help" || arg == "-h") cl.action = Action::kUsage;
            else return fail("unknown option " + arg.substr(0, 64));
            continue;
        }
        if (arg.empty()) return fail("empty file name");
        if (arg.size() > kMaxPathLength) return fail("file name too long");
        if (!cl.file.empty()) return fail("only one document can be named");
        cl.file = arg;
    }
    if (cl.action == Action::kUsage) {
        cl.file.clear();
        return cl;
    }
    cl.action = cl.file.empty() ? Action::kNothing : Action::kOpen;
    return cl;
}

const char* ShellCommandLine::Usage() {
    return "Usage: quillset [--minimized] [[--] DOCUMENT]\n"
           "Opens Quillset, and the program-data document (.D3X) or side document named.\n";
}

}  // namespace qs
