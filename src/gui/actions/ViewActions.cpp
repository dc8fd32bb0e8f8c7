#include "gui/actions/ViewActions.h"

#include "base/FixedTexts.h"
#include "base/Localisation.h"
#include "commands/FileCommands.h"
#include "directory/DirectoryEditor.h"
#include "gui/main/DisplayPreviewView.h"
#include "gui/main/EntryEdit.h"
#include "gui/main/MainMenus.h"
#include "gui/main/ModuleToolBar.h"
#include "gui/main/NameListPanel.h"
#include "gui/main/WindowModule.h"
#include "gui/main/ZonePages.h"
#include "gui/seams/WidgetSink.h"
#include "gui/startup/LanguageWindow.h"
#include "gui/startup/QtTranslations.h"
#include "module/ModuleMonitor.h"

#include <QLabel>
#include <QMainWindow>
#include <QPushButton>
#include <QStatusBar>

namespace q540 {

ViewActions::ViewActions(const WindowParts& parts) : parts_(parts), jezyk_(parts.texts.language())
{
}

void ViewActions::RadioGroup_StrefaClick(int index)
{
    parts_.pages.selectPage(index);
    parts_.listPanel.setEnabled(parts_.editor.page().transferGroupEnabled());
}

void ViewActions::showEntryField(EntryPlace place, bool line2, int position)
{
    RadioGroup_StrefaClick(place.zone == kAdditionalNumberZone ? kSelectorAdditionalNumbers
                                                               : place.zone - 1);
    parts_.pages.focusEntry(place.number, line2, position);
}

void ViewActions::showIntroField(int line, int position)
{
    RadioGroup_StrefaClick(kSelectorIntro);
    EntryEdit* field = parts_.pages.edit(introLineEditNumber(line));
    field->setFocus(Qt::OtherFocusReason);
    field->setCursorPosition(position);
}

void ViewActions::Ustaw_WJ_na_komponentach()
{
    applyQtTranslations(parts_.texts.language());
    parts_.menus.retranslate();
    parts_.toolBar.retranslate();
    // The address's word follows the language: the program's doing, no step.
    parts_.files.absorbAddress();
    parts_.pages.retranslate(parts_.texts);
    parts_.listPanel.retranslate();
    parts_.sink.cancelButton()->setText(
        fixedText(FixedText::CancelButton, parts_.texts.language()));
    if (demoNote_)
        showDemoNote();
}

void ViewActions::Jzyk1Click()
{
    // A new window each time, so it always opens on the current language.
    LanguageWindow window(
        parts_.texts, jezyk_, parts_.module.monitor().status().moduleLanguage, parts_.settings,
        parts_.sink, [this] { Ustaw_WJ_na_komponentach(); }, &parts_.window);
    window.exec();
}

void ViewActions::showDemoNote()
{
    if (!demoNote_) {
        demoNote_ = new QLabel;
        demoNote_->setObjectName(QStringLiteral("Label_demo"));
        parts_.window.statusBar()->addPermanentWidget(demoNote_, 1);
    }
    demoNote_->setText(fixedText(FixedText::DemoModuleNote, parts_.texts.language()));
}

void ViewActions::previewField(int editNumber)
{
    const int selector = parts_.editor.page().selectorIndex();
    const int slot = slotOfEditNumber(selector, editNumber);
    previewScreen_ = introScreenOfEditNumber(editNumber);
    previewRow_ = slot > 0 && pageKind(selector) != PageKind::Intro ? slotRow(selector, slot) : 0;
    refreshPreview();
}

void ViewActions::previewEntry(int zone, int apartment)
{
    previewRow_ = rowOfPlace({zone, apartment});
    previewScreen_ = 0;
    refreshPreview();
}

void ViewActions::refreshPreview()
{
    DisplayPreviewView& view = *parts_.listPanel.preview();
    if (previewScreen_ > 0) {
        const IntroLines lines = parts_.pages.introLines();
        view.showIntroScreen(previewScreen_, lines[std::size_t(2 * previewScreen_ - 2)],
                             lines[std::size_t(2 * previewScreen_ - 1)]);
    } else if (previewRow_ > 0) {
        view.showEntry(placeOfRow(previewRow_), parts_.editor.grid().entryText(previewRow_));
    }
}

void ViewActions::listRebuilt()
{
    refreshPreview();
    parts_.listPanel.listRebuilt(parts_.editor.list().count());
    parts_.pages.showLamps(parts_.editor.list().lamps());
}

} // namespace q540
