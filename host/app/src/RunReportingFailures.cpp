#include <cstdio>
#include <exception>
#include <stdexcept>

#include "CommandLine.h"
#include "Commands.h"
#include "DocumentText.h"
#include "fileout/OutputTarget.h"
#include "service-common/ServiceObjectException.h"
#include "service-common/TextConversion.h"

void WarnIfRepaired(const char* command, const std::string& path, const DocumentText& text) {
    if (text.WasRepaired())
        std::fprintf(stderr,
                     "%s: warning: %s is damaged; it was repaired on opening and may show less "
                     "than it should\n",
                     command, path.c_str());
}

void CheckRepairedForEdit(const char* command, const std::string& path, const DocumentText& text,
                          bool inPlace) {
    if (inPlace && text.WasRepaired())
        throw std::runtime_error(path +
                                 " is damaged (it was repaired on opening); write the result to "
                                 "another file so that the original stays as it is");
    WarnIfRepaired(command, path, text);
}

int RunReportingFailures(const char* command, const std::function<int()>& work) {
    try {
        return work();
    } catch (const UsageError& e) {
        std::fprintf(stderr, "%s: %s\n(see 'vellum --help')\n", command, e.what());
        return kExitUsage;
    } catch (const ServiceObjectException& e) {
        // A user reads what failed; codes and function names are for the log.
        std::fprintf(stderr, "%s: %s\n", command, SLText::ToNarrow(e.Message()).c_str());
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s: %s\n", command, e.what());
    }
    return kExitFailed;
}

std::optional<FileOut::EditLock> LockIfEditInPlace(const char* command, const std::string& input,
                                                   const std::string& output) {
    if (!FileOut::SameFile(input, output))
        return std::nullopt;
    return std::optional<FileOut::EditLock>(std::in_place, output, [command, output] {
        std::fprintf(stderr, "%s: waiting while another run edits %s\n", command, output.c_str());
    });
}
