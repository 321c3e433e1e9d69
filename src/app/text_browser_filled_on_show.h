// A text browser whose HTML is laid out the first time it is shown: a page most starts never
// show (the help) costs the window's first frame nothing.
#pragma once

#include <QTextBrowser>
#include <functional>
#include <utility>

class TTextBrowserFilledOnShow : public QTextBrowser {
  public:
    TTextBrowserFilledOnShow(std::function<QString()> html, QWidget* parent)
        : QTextBrowser(parent), html_(std::move(html)) {}

  protected:
    void showEvent(QShowEvent* event) override {
        if (html_) setHtml(std::exchange(html_, {})());
        QTextBrowser::showEvent(event);
    }

  private:
    std::function<QString()> html_;
};
