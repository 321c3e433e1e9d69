// Start-up time: from creating the main window to its first drawn frame, beside a bare
// window holding only an OpenGL widget (the toolkit's own limit).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QEventLoop>
#include <QMainWindow>
#include <QOpenGLWidget>
#include <QSurfaceFormat>
#include <QTimer>
#include <filesystem>
#include <memory>

#include "app/gl_view_widget.h"
#include "app/main_window.h"

namespace {

class BareView : public QOpenGLWidget {
  public:
    std::function<void()> painted;

  protected:
    void paintGL() override {
        glClearColor(0.2f, 0.3f, 0.5f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        if (painted) painted();
    }
};

// Runs the event loop until `done` is called, or gives up after ten seconds.
template <typename Start>
bool RunUntilDone(Start start) {
    QEventLoop loop;
    bool finished = false;
    start([&] {
        finished = true;
        loop.quit();
    });
    QTimer::singleShot(10000, &loop, &QEventLoop::quit);
    if (!finished) loop.exec();
    return finished;
}

void BM_BareOpenGLWindow(benchmark::State& state) {
    for (auto _ : state) {
        std::unique_ptr<QMainWindow> window;
        const bool ok = RunUntilDone([&](std::function<void()> done) {
            window = std::make_unique<QMainWindow>();
            auto* view = new BareView;
            view->setFormat(TGLViewWidget::ViewFormat());
            view->painted = done;
            window->setCentralWidget(view);
            window->resize(1100, 720);
            window->show();
        });
        if (!ok) state.SkipWithError("no frame drawn");
    }
}
BENCHMARK(BM_BareOpenGLWindow)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_MainWindowFirstFrame(benchmark::State& state) {
    const std::filesystem::path programDir = QCoreApplication::applicationDirPath().toStdString();
    for (auto _ : state) {
        std::unique_ptr<TMainWindow> window;
        const bool ok = RunUntilDone([&](std::function<void()> done) {
            window = std::make_unique<TMainWindow>(QString::fromStdString(programDir.string()));
            QObject::connect(window.get(), &TMainWindow::frameDrawn, window.get(), done,
                             Qt::SingleShotConnection);
            window->show();
        });
        if (!ok) state.SkipWithError("no frame drawn");
        state.PauseTiming();
        window->close();
        window.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_MainWindowFirstFrame)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
    QSurfaceFormat::setDefaultFormat(TGLViewWidget::ViewFormat());
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
