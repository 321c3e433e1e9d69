// Why a glTF file cannot be imported. Thrown from deep inside the reading of buffers and nodes
// and caught where the import answers with a message, so that each check can stop the import
// where it finds the fault.
#pragma once

#include <stdexcept>
#include <string>

class TGltfRefusal : public std::runtime_error {
  public:
    explicit TGltfRefusal(const std::string& reason) : std::runtime_error(reason) {}
};
