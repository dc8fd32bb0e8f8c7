#include "support/RecordingSink.h"

namespace q540::test {

void RecordingSink::showMessage(const QString& text)
{
    messages << text;
    events << QStringLiteral("message:") + text;
}

bool RecordingSink::askYesNo(const QString& text, const QString& caption)
{
    questions << text;
    events << QStringLiteral("question:") + text + QStringLiteral("|") + caption;
    return answerYes;
}

void RecordingSink::showProgress(int maximum)
{
    progressMaximum = maximum;
    progressPosition = 0;
    progressVisible = true;
    events << QStringLiteral("progress:%1").arg(maximum);
}

void RecordingSink::stepProgress()
{
    ++progressPosition;
    events << QStringLiteral("step");
}

void RecordingSink::showTimeLeft(const QString& text)
{
    timeLeft << text;
}

void RecordingSink::hideProgress()
{
    progressVisible = false;
    events << QStringLiteral("hide");
}

} // namespace q540::test
