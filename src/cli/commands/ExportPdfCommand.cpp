#include "cli/Cli.h"
#include "cli/ConsoleSink.h"
#include "cli/commands/Commands.h"
#include "print/DirectoryPrint.h"
#include "print/PaintingApplication.h"

#include <QDateTime>

namespace q540::cli {

namespace {

// The directory as the window prints it, as a PDF file. Painting needs the
// GUI application the tool starts for this command (on the offscreen
// platform, so no display is needed).
class ExportPdfCommand final : public Command {
public:
    ExportPdfCommand()
        : Command({.name = "export-pdf",
                   .arguments = "FILE OUT",
                   .summary =
                       "Write the directory as the window prints it (zones in the module's order, "
                       "intro screens and settings) to a PDF file.",
                   .positionalCount = 2,
                   .input = 0,
                   .output = 1})
    {
    }

private:
    void addOptions(QCommandLineParser& parser) override { addCollationOption(parser); }

    int run(Invocation& in) override
    {
        ConsoleSink sink(in.err);
        const std::optional<NameList> list = nameListOf(in, *document_, sink);
        if (!list)
            return kBadUsage;
        if (!canPaint()) {
            in.err << "export-pdf: no GUI application to paint with" << Qt::endl;
            return kModuleFailed;
        }
        const DirectoryPrintout printout{*document_, list->rows(), in.texts.language(),
                                         QDateTime::currentDateTime()};
        return saveFile(in, in.positional[1], directoryPdf(printout)) ? kDone : kModuleFailed;
    }
};

} // namespace

std::unique_ptr<Command> makeExportPdfCommand()
{
    return std::make_unique<ExportPdfCommand>();
}

} // namespace q540::cli
