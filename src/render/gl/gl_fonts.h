// Fonts as display lists, one list per printable character, for text drawn with glCallLists.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class TGLFont {
  public:
    static constexpr int kFirstChar = 32;
    static constexpr int kListCount = 95;

    TGLFont(std::string faceName, int height, bool outline)
        : faceName_(std::move(faceName)), height_(height), outline_(outline) {}
    ~TGLFont() = default;
    TGLFont(const TGLFont&) = delete;
    TGLFont& operator=(const TGLFont&) = delete;

    // Needs a current context and a running QGuiApplication. On failure the lists are
    // deleted, the list base is 0 and the face name is cleared.
    bool Build();
    // Deletes the lists; needs the context that built them to be current.
    void Release();

    const std::string& FaceName() const { return faceName_; }
    int Height() const { return height_; }
    bool Outline() const { return outline_; }
    // The list of character c is ListBase() + c - kFirstChar; 0 when it cannot be built.
    // Nothing in the view draws text, so the glyphs are made on first use rather than at
    // start-up; the context must be current then.
    std::uint32_t ListBase();

  private:
    bool BuildBitmapGlyphs();
    void Fail();

    std::string faceName_;
    int height_;
    bool outline_;
    std::uint32_t listBase_ = 0;
    bool built_ = false;
};

class TGLFonts {
  public:
    // Creates and appends a font, built on first use; a font that fails to build is kept,
    // so indexes stay stable.
    TGLFont& Add(const std::string& faceName, int height, bool outline);
    void ReleaseAll();
    // Drops the fonts without GL calls, for when their context is already gone.
    void Forget() { fonts_.clear(); }

    int Count() const { return static_cast<int>(fonts_.size()); }
    TGLFont& Font(int index) { return *fonts_.at(static_cast<std::size_t>(index)); }

  private:
    std::vector<std::unique_ptr<TGLFont>> fonts_;
};
