#include "cli/cli_error.h"

#include <exception>
#include <new>

int RunGuarded(std::ostream& err, const std::function<int()>& command) {
    try {
        return command();
    } catch (const std::bad_alloc&) {
        err << "veldra-cli: out of memory\n";
    } catch (const std::exception& e) {
        err << "veldra-cli: " << e.what() << '\n';
    }
    return 1;
}
