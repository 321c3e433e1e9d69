// veldra-cli-render: the drawing half of `veldra-cli render`, started by veldra-cli with the
// same arguments so that the commands which do not draw never load the toolkit or OpenGL.
#include <CLI/CLI.hpp>
#include <iostream>

#include "cli/archives/archive_reader.h"
#include "cli/cli_error.h"
#include "cli/render/qt_message_filter.h"
#include "cli/render/render_batch.h"
#include "cli/render/render_command.h"
#include "cli/render_arguments.h"

int main(int argc, char** argv) {
    InstallQtMessageFilter();
    InstallArchiveReader();
    CLI::App app{"veldra-cli render: draw a model offscreen", "veldra-cli"};
    app.require_subcommand(1);
    TRenderArguments arguments;
    AddRenderCommand(app, arguments);
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        // veldra-cli has checked the arguments already; this is for a direct start.
        return app.exit(e) == 0 ? 0 : 2;
    }
    if (!arguments.outDir.empty()) {
        return RunGuarded(std::cerr,
                          [&] { return RunRenderBatch(arguments, std::cout, std::cerr); });
    }
    return RunGuarded(std::cerr,
                      [&] { return RunRender(ResolveRenderOptions(arguments), std::cerr); });
}
