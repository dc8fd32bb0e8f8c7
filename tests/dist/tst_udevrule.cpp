// The cable's udev rule, read as udev reads it: every line is well-formed, and
// a table of devices shows that the rule gives the cable (and nothing else)
// the seat user's access, keeps ModemManager away and sets the latency.

#include "protocol/Protocol.h"

#include <QFile>
#include <QMap>
#include <QRegularExpression>
#include <QTest>

namespace {

using Device = QMap<QString, QString>; // "SUBSYSTEM", "ATTR{x}", "ATTRS{x}", "ENV{x}", ...

struct Key {
    QString name; // with its {attribute}
    QString op;
    QString value;
};
using Rule = QList<Key>;

QList<Rule> readRules(QString* error)
{
    static const QRegularExpression key(
        QStringLiteral("^([A-Z_]+(?:\\{[A-Za-z0-9_]+\\})?)(==|!=|\\+=|:=|=)\"([^\"]*)\"$"));
    static const QStringList known{"ACTION", "SUBSYSTEM", "DRIVER", "ATTR", "ATTRS", "ENV", "TAG"};
    QFile file(QStringLiteral(Q540_UDEV_RULE));
    if (!file.open(QIODevice::ReadOnly)) {
        *error = file.errorString();
        return {};
    }
    QList<Rule> rules;
    int number = 0;
    while (!file.atEnd()) {
        ++number;
        const QString line = QString::fromUtf8(file.readLine()).trimmed();
        if (line.isEmpty() || line.startsWith(u'#'))
            continue;
        Rule rule;
        for (const QString& part : line.split(QStringLiteral(", "))) {
            const auto match = key.match(part);
            if (!match.hasMatch() || !known.contains(match.captured(1).section(u'{', 0, 0))) {
                *error = QStringLiteral("line %1: %2").arg(number).arg(part);
                return {};
            }
            rule.append({match.captured(1), match.captured(2), match.captured(3)});
        }
        rules.append(rule);
    }
    return rules;
}

// What the rules assign to the device: "TAG+=uaccess", "ENV{ID_MM_DEVICE_IGNORE}=1", ...
QStringList assignments(const QList<Rule>& rules, const Device& device)
{
    QStringList result;
    for (const Rule& rule : rules) {
        bool matches = true;
        for (const Key& k : rule) {
            if (k.op != u"==" && k.op != u"!=")
                continue;
            // ATTRS looks at the device and its parents: the table lists both as ATTRS.
            QString name = k.name;
            if (name.startsWith(u"ATTRS{") && !device.contains(name))
                name = QStringLiteral("ATTR") + name.mid(5);
            const bool equal = device.value(name, QStringLiteral("\x01")) == k.value;
            matches = matches && (k.op == u"==" ? equal : !equal);
        }
        if (!matches)
            continue;
        for (const Key& k : rule)
            if (k.op != u"==" && k.op != u"!=")
                result << k.name + k.op + k.value;
    }
    return result;
}

const QString kAccess = QStringLiteral("TAG+=uaccess");
const QString kNoModemManager = QStringLiteral("ENV{ID_MM_DEVICE_IGNORE}=1");
// The program's own setting, so that both backends run the chip alike.
const QString kLatency =
    QStringLiteral("ATTR{latency_timer}=%1").arg(q540::protocol::kLatencyTimerMs);

} // namespace

Q_DECLARE_METATYPE(Device)

class UdevRuleTest : public QObject {
    Q_OBJECT

private slots:
    void devices_data()
    {
        QTest::addColumn<Device>("device");
        QTest::addColumn<QStringList>("expected");
        const Device cableParent{{"ATTRS{idVendor}", "0403"}, {"ATTRS{product}", "VELKOR"}};
        const auto with = [](Device d, const Device& more) {
            for (auto it = more.cbegin(); it != more.cend(); ++it)
                d.insert(it.key(), it.value());
            return d;
        };
        QTest::newRow("the cable's tty")
            << with(cableParent, {{"ACTION", "add"}, {"SUBSYSTEM", "tty"}})
            << QStringList{kAccess, kNoModemManager};
        QTest::newRow("the cable's USB device") << Device{{"ACTION", "add"},
                                                          {"SUBSYSTEM", "usb"},
                                                          {"ENV{DEVTYPE}", "usb_device"},
                                                          {"ATTR{idVendor}", "0403"},
                                                          {"ATTR{product}", "VELKOR"}}
                                                << QStringList{kAccess, kNoModemManager};
        QTest::newRow("the cable's usb-serial port") << with(
            cableParent, {{"ACTION", "add"}, {"SUBSYSTEM", "usb-serial"}, {"DRIVER", "ftdi_sio"}})
                                                     << QStringList{kLatency};
        QTest::newRow("the cable's USB interface")
            << with(cableParent,
                    {{"ACTION", "add"}, {"SUBSYSTEM", "usb"}, {"ENV{DEVTYPE}", "usb_interface"}})
            << QStringList{};
        QTest::newRow("another FTDI adapter") << Device{{"ACTION", "add"},
                                                        {"SUBSYSTEM", "tty"},
                                                        {"ATTRS{idVendor}", "0403"},
                                                        {"ATTRS{product}", "FT232R USB UART"}}
                                              << QStringList{};
        QTest::newRow("another vendor named VELKOR") << Device{{"ACTION", "add"},
                                                               {"SUBSYSTEM", "tty"},
                                                               {"ATTRS{idVendor}", "067b"},
                                                               {"ATTRS{product}", "VELKOR"}}
                                                     << QStringList{};
        QTest::newRow("a usb-serial port of another adapter")
            << Device{{"ACTION", "add"},
                      {"SUBSYSTEM", "usb-serial"},
                      {"DRIVER", "ftdi_sio"},
                      {"ATTRS{idVendor}", "0403"},
                      {"ATTRS{product}", "FT232R USB UART"}}
            << QStringList{};
    }

    void devices()
    {
        QFETCH(Device, device);
        QFETCH(QStringList, expected);
        QString error;
        const QList<Rule> rules = readRules(&error);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        QCOMPARE(rules.size(), 3);
        QCOMPARE(assignments(rules, device), expected);
    }
};

QTEST_GUILESS_MAIN(UdevRuleTest)
#include "tst_udevrule.moc"
