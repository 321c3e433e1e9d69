// The values of `edit` operations as typed on the command line. Every parser throws
// OperationError with the reason a value cannot be used; the command adds which operation.
// The operations themselves fail with the same error when the model does not allow them.
#pragma once

#include <stdexcept>
#include <string>
#include <vector>

#include "md3/md3.h"

class OperationError : public std::runtime_error {
  public:
    explicit OperationError(const std::string& reason) : std::runtime_error(reason) {}
};

[[noreturn]] void FailOperation(const std::string& reason);

// The pieces between the separators; "a::b" split at ':' gives "a", "", "b".
std::vector<std::string> Split(const std::string& text, char separator);

// A whole decimal number from 0 up (no blanks or other characters).
int ParseIndex(const std::string& text);
// A finite decimal number with "." as the separator.
float ParseNumber(const std::string& text);
// "x", "y" or "z" in either case: 0, 1 or 2.
int ParseAxis(const std::string& text);
// "NAME:ox,oy,oz:ax,ay,az:bx,by,bz:cx,cy,cz"; the name may hold colons itself.
TMD3Tag ParseTag(const std::string& text);
// A file name whose extension, in any case, is `extension` (".tag").
void RequireExtension(const std::string& fileName, const std::string& upperExtension);
