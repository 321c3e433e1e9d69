#include "render/gl/gl_fonts.h"

#include <GL/gl.h>

#include <QFont>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

namespace {

// Bitmap fonts cover the printable ASCII range but the last list (DEL's neighbour, '~' + 1)
// stays empty, matching the outline variant's 95 lists.
constexpr int kBitmapGlyphs = 94;

// One glyph as a GL bitmap: rows bottom-up, one bit per pixel, most significant bit first,
// rows packed to whole bytes (compiled with an unpack alignment of 1).
std::vector<GLubyte> GlyphBits(const QImage& image) {
    const int rowBytes = (image.width() + 7) / 8;
    std::vector<GLubyte> bits(static_cast<std::size_t>(rowBytes * image.height()), 0);
    for (int y = 0; y < image.height(); ++y) {
        const uchar* src = image.constScanLine(image.height() - 1 - y);
        GLubyte* dst = bits.data() + static_cast<std::ptrdiff_t>(y) * rowBytes;
        for (int x = 0; x < image.width(); ++x)
            if (src[x] >= 128) dst[x / 8] |= static_cast<GLubyte>(0x80 >> (x % 8));
    }
    return bits;
}

}  // namespace

std::uint32_t TGLFont::ListBase() {
    if (!built_) Build();
    return listBase_;
}

bool TGLFont::Build() {
    Release();
    built_ = true;
    listBase_ = glGenLists(kListCount);
    if (listBase_ == 0) {
        Fail();
        return false;
    }
    // Extruded outline glyphs have no counterpart in the toolkit and nothing draws them.
    if (outline_ || !BuildBitmapGlyphs()) {
        Fail();
        return false;
    }
    return true;
}

bool TGLFont::BuildBitmapGlyphs() {
    if (QGuiApplication::instance() == nullptr || height_ <= 0) return false;
    QFont font(QString::fromStdString(faceName_));
    font.setPixelSize(height_);
    font.setWeight(QFont::Normal);
    const QFontMetrics metrics(font);
    const int cellHeight = std::max(1, metrics.height());

    GLint oldAlignment = 4;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &oldAlignment);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    for (int i = 0; i < kBitmapGlyphs; ++i) {
        const QChar ch(static_cast<char16_t>(kFirstChar + i));
        const int advance = metrics.horizontalAdvance(ch);
        QImage image(std::max(1, advance), cellHeight, QImage::Format_Grayscale8);
        image.fill(0);
        {
            QPainter painter(&image);
            painter.setFont(font);
            painter.setPen(Qt::white);
            painter.drawText(0, metrics.ascent(), QString(ch));
        }
        const std::vector<GLubyte> bits = GlyphBits(image);
        glNewList(listBase_ + static_cast<GLuint>(i), GL_COMPILE);
        glBitmap(image.width(), image.height(), 0.0f, static_cast<GLfloat>(metrics.descent()),
                 static_cast<GLfloat>(advance), 0.0f, bits.data());
        glEndList();
    }
    glPixelStorei(GL_UNPACK_ALIGNMENT, oldAlignment);
    return true;
}

void TGLFont::Fail() {
    Release();
    faceName_.clear();
}

void TGLFont::Release() {
    if (listBase_ != 0) glDeleteLists(listBase_, kListCount);
    listBase_ = 0;
}

TGLFont& TGLFonts::Add(const std::string& faceName, int height, bool outline) {
    fonts_.push_back(std::make_unique<TGLFont>(faceName, height, outline));
    return *fonts_.back();
}

void TGLFonts::ReleaseAll() {
    for (auto& font : fonts_)
        font->Release();
    fonts_.clear();
}
