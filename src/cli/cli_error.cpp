#include "cli/cli_error.h"

#include <exception>
#include <filesystem>
#include <new>

void ReportError(std::ostream& err, const std::string& text) {
    err << "veldra-cli: " << text << '\n';
}

int RunGuarded(std::ostream& err, const std::function<int()>& command) {
    try {
        return command();
    } catch (const UsageError& e) {
        ReportError(err, e.what());
        return kExitUsage;
    } catch (const std::bad_alloc&) {
        ReportError(err, "out of memory");
    } catch (const std::exception& e) {
        ReportError(err, e.what());
    }
    return kExitFailure;
}

UsageError UnsupportedOutput(const std::string& output, const std::string& hint) {
    return UsageError("Cannot write \"" + output + "\": unsupported output format \"" +
                      std::filesystem::path(output).extension().string() + "\" (" + hint + ")");
}
