// The folder an extraction writes into. Its sub-folders are made and opened one component at
// a time without following symbolic links, so that an entry is never written through a link
// that was already inside the target (a "models" link to /etc, say) or put there meanwhile.
// The target folder itself may be a link: the user named it.
#pragma once

#include <string>

class TExtractionFolder {
  public:
    // Nothing is made or opened until the first file needs it.
    explicit TExtractionFolder(std::string root);
    ~TExtractionFolder();
    TExtractionFolder(const TExtractionFolder&) = delete;
    TExtractionFolder& operator=(const TExtractionFolder&) = delete;

    // The open folder `relative` ('/'-separated, without "." or ".." components; empty for
    // the target itself), made with its parents where missing. -1 with the reason in `error`
    // when it cannot be made or a component is a link or not a folder. The descriptor
    // stays valid until the next call or the end of the object.
    int Open(const std::string& relative, std::string& error);

    // The path of a file below the target, for reports.
    std::string PathOf(const std::string& relative) const;

  private:
    int OpenRoot(std::string& error);

    std::string root_;
    int rootFd_ = -1;
    // The last folder opened: the entries of an archive come folder by folder.
    std::string openName_;
    int openFd_ = -1;
};
