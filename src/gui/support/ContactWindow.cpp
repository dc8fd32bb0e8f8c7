#include "gui/support/ContactWindow.h"

#include "base/FixedTexts.h"
#include "base/Localisation.h"
#include "gui/support/ContactConfig.h"

#include <QDesktopServices>
#include <QEvent>
#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QUrlQuery>
#include <QVBoxLayout>

#include <array>
#include <utility>

namespace q540 {

namespace {

constexpr QColor kHoverColour(255, 0, 144);
constexpr QColor kAccent(0x1f, 0x4e, 0x8c);
constexpr QSize kPictureSize(190, 250);
constexpr int kPolish = 0;

struct Picture {
    const char* objectName;
    // Both in the picture's own language: the panel's greeting and the line beneath it.
    QString greeting;
    QString line;
};

const std::array<Picture, 3>& pictures()
{
    static const std::array<Picture, 3> all{{
        {"Image1", fixedText(FixedText::ContactGreeting, 0), fixedText(FixedText::ContactLine, 0)},
        {"Image2", fixedText(FixedText::ContactGreeting, 1), fixedText(FixedText::ContactLine, 1)},
        {"Image3", fixedText(FixedText::ContactGreeting, 2), fixedText(FixedText::ContactLine, 2)},
    }};
    return all;
}

// A door-entry panel greeting the visitor on its display, so the window shows what the
// program is for. Pixel sizes throughout, so the three pictures come out alike everywhere.
QPixmap drawPicture(const Picture& picture)
{
    QPixmap pixmap(kPictureSize);
    pixmap.fill(Qt::white);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);

    const QRectF body(45, 10, 100, 190);
    QLinearGradient metal(body.topLeft(), body.topRight());
    metal.setColorAt(0, QColor(200, 204, 210));
    metal.setColorAt(0.5, QColor(236, 238, 242));
    metal.setColorAt(1, QColor(188, 192, 198));
    painter.setPen(QPen(QColor(120, 124, 130), 1.5));
    painter.setBrush(metal);
    painter.drawRoundedRect(body, 10, 10);

    const QRectF display(55, 24, 80, 30);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(20, 40, 30));
    painter.drawRoundedRect(display, 3, 3);
    QFont font = painter.font();
    font.setFamilies({QStringLiteral("DejaVu Sans Mono"), QStringLiteral("Courier New")});
    font.setPixelSize(11);
    painter.setFont(font);
    painter.setPen(QColor(120, 255, 160));
    painter.drawText(display.adjusted(2, 2, -2, -15), Qt::AlignCenter, picture.greeting);
    painter.drawText(display.adjusted(2, 15, -2, -2), Qt::AlignCenter, QStringLiteral("Q540"));

    painter.setPen(QPen(QColor(110, 114, 120), 1));
    painter.setBrush(QColor(248, 248, 250));
    for (int row = 0; row < 4; ++row) {
        for (int column = 0; column < Localisation::kLanguageCount; ++column)
            painter.drawRoundedRect(QRectF(60 + column * 24, 66 + row * 22, 18, 16), 3, 3);
    }

    painter.setPen(QPen(QColor(90, 94, 100), 2, Qt::SolidLine, Qt::RoundCap));
    for (int i = 0; i < 5; ++i)
        painter.drawLine(QPointF(70, 160 + i * 6), QPointF(120, 160 + i * 6));

    const QRect band(0, kPictureSize.height() - 38, kPictureSize.width(), 38);
    painter.fillRect(band, kAccent);
    font.setFamilies({});
    font.setBold(true);
    font.setPixelSize(15);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(band, Qt::AlignCenter, picture.line);
    return pixmap;
}

QLabel* addAddressLine(const char* name, const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    parent->layout()->addWidget(label);
    return label;
}

QUrl mailtoUrl(const QString& address)
{
    QUrl url;
    url.setScheme(QStringLiteral("mailto"));
    url.setPath(address);
    QUrlQuery query;
    query.addQueryItem(QStringLiteral("Subject"), contact::kMailSubject);
    url.setQuery(query);
    return url;
}

// A link shows its site by the host name alone.
QString shortForm(const QString& site)
{
    return QUrl(site).host();
}

} // namespace

void openWithDefaultProgram(const QUrl& url)
{
    QDesktopServices::openUrl(url);
}

ContactWindow::ContactWindow(int language, UrlOpener openUrl, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), language_(language),
      openUrl_(openUrl ? std::move(openUrl) : UrlOpener(openWithDefaultProgram))
{
    setObjectName(QStringLiteral("About"));
    setModal(true);
    setAutoFillBackground(true);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);

    // Without a title bar the window needs an edge of its own against a white desktop.
    auto* panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("Panel1"));
    panel->setFrameStyle(QFrame::Box | QFrame::Plain);
    QPalette edge = panel->palette();
    edge.setColor(QPalette::WindowText, kAccent);
    panel->setPalette(edge);

    const int shown = language >= 0 && language < int(pictures().size()) ? language : 1;
    auto* pictureColumn = new QVBoxLayout;
    for (int i = 0; i < int(pictures().size()); ++i) {
        auto* image = new QLabel(panel);
        image->setObjectName(QString::fromLatin1(pictures()[i].objectName));
        image->setPixmap(drawPicture(pictures()[i]));
        image->setFixedSize(kPictureSize);
        image->setVisible(i == shown);
        pictureColumn->addWidget(image);
    }
    pictureColumn->addStretch();

    const bool polish = language == kPolish;
    const contact::PostalAddress& address =
        language == 2 ? contact::kAddressGerman : contact::kAddressEnglish;
    GroupBox_adres_ = new QGroupBox(panel);
    GroupBox_adres_->setObjectName(QStringLiteral("GroupBox_adres"));
    GroupBox_adres_->setFlat(true);
    new QVBoxLayout(GroupBox_adres_);
    QFont bold = font();
    bold.setBold(true);
    addAddressLine("Label2", address.name, GroupBox_adres_)->setFont(bold);
    addAddressLine("Label4", address.street, GroupBox_adres_);
    addAddressLine("Label5", address.town, GroupBox_adres_);
    addAddressLine("Label8", address.telephone, GroupBox_adres_);
    GroupBox_adres_->setVisible(!polish);

    auto* links = new QVBoxLayout;
    links->setSpacing(10);
    Label6_ = addLink("Label6", shortForm(contact::kWebSite), panel);
    Label_wsparcie_ = addLink(
        "Label_wsparcie",
        shortForm(polish ? contact::kSupportSitePolish : contact::kSupportSiteEnglish), panel);
    Label3_ = addLink("Label3", polish ? contact::kCustomerServiceAddress : contact::kExportAddress,
                      panel);
    supportReport_ =
        addLink("Label_raport", fixedText(FixedText::SaveSupportReport, language), panel);
    supportReport_->hide();
    links->addWidget(Label6_);
    links->addWidget(Label_wsparcie_);
    links->addWidget(Label3_);
    links->addWidget(supportReport_);

    // A flat button of two parts, so that the pointer over either colours the whole box.
    GroupBox1_ = new QFrame(panel);
    GroupBox1_->setObjectName(QStringLiteral("GroupBox1"));
    GroupBox1_->setFixedSize(75, 26);
    GroupBox1_->setAutoFillBackground(true);
    Label1_ = new QLabel(QStringLiteral("OK"), GroupBox1_);
    Label1_->setObjectName(QStringLiteral("Label1"));
    Label1_->setAlignment(Qt::AlignCenter);
    Label1_->setFont(bold);
    QPalette okText = Label1_->palette();
    okText.setColor(QPalette::WindowText, Qt::white);
    Label1_->setPalette(okText);
    auto* okLayout = new QVBoxLayout(GroupBox1_);
    okLayout->setContentsMargins(0, 0, 0, 0);
    okLayout->addWidget(Label1_);
    // Qt has no scroll-bar colour; Mid is the style's grey that stands nearest to it.
    setOkBoxColour(palette().color(QPalette::Mid));
    for (QWidget* part : {static_cast<QWidget*>(GroupBox1_), static_cast<QWidget*>(Label1_)}) {
        part->setCursor(Qt::PointingHandCursor);
        part->installEventFilter(this);
    }

    auto* okRow = new QHBoxLayout;
    okRow->addStretch();
    okRow->addWidget(GroupBox1_);
    auto* textColumn = new QVBoxLayout;
    textColumn->addWidget(GroupBox_adres_);
    textColumn->addStretch();
    textColumn->addLayout(links);
    textColumn->addSpacing(16);
    textColumn->addLayout(okRow);

    auto* columns = new QHBoxLayout(panel);
    columns->setContentsMargins(12, 12, 16, 12);
    columns->setSpacing(20);
    columns->addLayout(pictureColumn);
    columns->addLayout(textColumn);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(panel);
    setFixedWidth(470);
    setFixedHeight(sizeHint().height());
}

QLabel* ContactWindow::addLink(const char* name, const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    QFont underlined = label->font();
    underlined.setUnderline(true);
    label->setFont(underlined);
    // Links in the palette's link colour: it keeps the contrast a grey lost.
    QPalette link = label->palette();
    link.setColor(QPalette::WindowText, link.color(QPalette::Link));
    label->setPalette(link);
    label->setCursor(Qt::PointingHandCursor);
    label->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    label->installEventFilter(this);
    return label;
}

bool ContactWindow::eventFilter(QObject* watched, QEvent* event)
{
    const bool okBox = watched == GroupBox1_ || watched == Label1_;
    auto* label = qobject_cast<QLabel*>(watched);
    switch (event->type()) {
    case QEvent::Enter:
    case QEvent::Leave: {
        const bool entered = event->type() == QEvent::Enter;
        if (okBox) {
            setOkBoxColour(entered ? kHoverColour : palette().color(QPalette::Mid));
        } else if (label) {
            QPalette colours = label->palette();
            colours.setColor(QPalette::WindowText,
                             entered ? kHoverColour : colours.color(QPalette::Link));
            label->setPalette(colours);
        }
        break;
    }
    case QEvent::MouseButtonRelease: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() != Qt::LeftButton)
            break;
        if (okBox) {
            accept();
            break;
        }
        // Pressed on a link and let go elsewhere: no click, as with any button.
        if (!label || !label->rect().contains(mouse->position().toPoint()))
            break;
        if (label == Label6_)
            Label6Click();
        else if (label == Label_wsparcie_)
            Label_wsparcieClick();
        else if (label == Label3_)
            Label3Click();
        else if (label == supportReport_ && saveSupportReport_) {
            accept();
            saveSupportReport_();
        }
        break;
    }
    default:
        break;
    }
    return QDialog::eventFilter(watched, event);
}

void ContactWindow::offerSupportReport(std::function<void()> save)
{
    saveSupportReport_ = std::move(save);
    supportReport_->setVisible(bool(saveSupportReport_));
    setFixedHeight(sizeHint().height());
}

void ContactWindow::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (const QWidget* owner = parentWidget())
        move(owner->window()->frameGeometry().center() - rect().center());
}

void ContactWindow::Label6Click()
{
    openUrl_(QUrl(contact::kWebSite));
}

void ContactWindow::Label_wsparcieClick()
{
    openUrl_(
        QUrl(language_ == kPolish ? contact::kSupportSitePolish : contact::kSupportSiteEnglish));
}

// The message goes to the address that the label shows, so what the user reads is where
// the mail lands.
void ContactWindow::Label3Click()
{
    openUrl_(mailtoUrl(Label3_->text()));
}

void ContactWindow::setOkBoxColour(const QColor& colour)
{
    QPalette background = GroupBox1_->palette();
    background.setColor(QPalette::Window, colour);
    GroupBox1_->setPalette(background);
}

} // namespace q540
