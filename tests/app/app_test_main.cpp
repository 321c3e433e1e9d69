// GUI tests need one QApplication for the whole run.
#include <gtest/gtest.h>

#include <QApplication>
#include <QSurfaceFormat>

#include "app/gl_view_widget.h"
#include "support/resident_graphics_driver.h"

int main(int argc, char** argv) {
    KeepGraphicsDriverResident();
    QSurfaceFormat::setDefaultFormat(TGLViewWidget::ViewFormat());
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
