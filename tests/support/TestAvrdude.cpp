// A stand-in for the AVR programming tool, for tests only: it programs
// nothing, records how it was called and writes the log it was told to.
//
//   ZR5_TEST_AVRDUDE_ARGS  file to which each call appends one line: the
//                          working directory, then every argument, separated
//                          by tabs
//   ZR5_TEST_AVRDUDE_LOG   what the log asked for with -l holds, a comma
//                          list of: success (the default), ser_open, failed,
//                          timeout, none (no log is written at all)
//
// It exits with 0 when the log reports success, else 1.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {
std::vector<std::string> SplitList(const std::string& text)
{
    std::vector<std::string> words;
    std::stringstream in(text);
    std::string word;
    while (std::getline(in, word, ','))
        if (!word.empty())
            words.push_back(word);
    return words;
}

std::string OptionValue(const std::vector<std::string>& args, const std::string& option)
{
    for (size_t i = 0; i + 1 < args.size(); ++i)
        if (args[i] == option)
            return args[i + 1];
    return {};
}

std::string LogText(const std::vector<std::string>& words, const std::string& port)
{
    std::string text;
    for (const std::string& word : words) {
        if (word == "success") {
            text += "\navrdude: AVR device initialized and ready to accept instructions\n"
                    "avrdude: Device signature = 0x1e960a (probably m644p)\n\n"
                    "avrdude done.  Thank you.\n\n";
        } else if (word == "ser_open") {
            text += "avrdude: ser_open(): can't open device \"" + port +
                    "\": No such file or directory\n\navrdude done.  Thank you.\n\n";
        } else if (word == "failed") {
            text += "avrdude: initialization failed, rc=-1\n"
                    "         Double check connections and try again, or use -F to override\n"
                    "         this check.\n\n";
        } else if (word == "timeout") {
            text += "avrdude: stk500v2_ReceiveMessage(): timeout\n";
        }
    }
    return text;
}
} // namespace

int main(int argc, char** argv)
{
    const std::vector<std::string> args(argv + 1, argv + argc);

    if (const char* record = std::getenv("ZR5_TEST_AVRDUDE_ARGS")) {
        std::ofstream out(record, std::ios::app);
        out << std::filesystem::current_path().string();
        for (const std::string& arg : args)
            out << '\t' << arg;
        out << '\n';
    }

    const char* mode = std::getenv("ZR5_TEST_AVRDUDE_LOG");
    const std::vector<std::string> words = SplitList(mode ? mode : "success");
    const bool success = words.size() == 1 && words.front() == "success";
    const std::string logName = OptionValue(args, "-l");
    const bool noLog = words.size() == 1 && words.front() == "none";
    if (!logName.empty() && !noLog) {
        std::ofstream log(logName, std::ios::trunc);
        log << LogText(words, OptionValue(args, "-P"));
    }
    if (logName.empty())
        std::fprintf(stderr, "avrdude: %s\n", success ? "writing done" : "programming failed");
    return success ? 0 : 1;
}
