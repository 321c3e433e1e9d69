// What an import left out, one note per reason, so that nothing of a file vanishes unmentioned.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class TImportReport {
  public:
    // Adds "<count> <one|many> <what>" when count is above zero.
    void Count(std::int64_t count, const char* one, const char* many, const std::string& what);
    void Note(std::string note);
    void Clear() { notes_.clear(); }
    bool Empty() const { return notes_.empty(); }
    // The notes joined with ", "; empty when nothing was left out.
    std::string Text() const;

  private:
    std::vector<std::string> notes_;
};
