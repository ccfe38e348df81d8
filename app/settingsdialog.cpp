#include "app/settingsdialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QTimeZone>

SettingsDialog::SettingsDialog(const DisplaySettings &current, QWidget *parent)
    : QDialog(parent), unitBox(new QComboBox(this)), zoneBox(new QComboBox(this))
{
    setObjectName(QStringLiteral("SettingsDialog"));
    setWindowTitle(tr("Settings"));

    unitBox->setObjectName(QStringLiteral("SpeedUnit"));
    for (const SpeedUnit unit : { SpeedUnit::Kmh, SpeedUnit::Mph })
        unitBox->addItem(tr("%1 and %2").arg(speedUnitText(unit), distanceUnitText(unit)), int(unit));
    unitBox->setCurrentIndex(unitBox->findData(int(current.speedUnit)));

    zoneBox->setObjectName(QStringLiteral("TimeZone"));
    zoneBox->addItem(tr("Local time"), QStringLiteral("local"));
    zoneBox->addItem(QStringLiteral("UTC"), QStringLiteral("UTC"));
    for (const QByteArray &id : QTimeZone::availableTimeZoneIds()) {
        const QString name = QString::fromLatin1(id);
        // Fixed offsets ("UTC+02:00") never know summer time: the places do.
        if (!name.startsWith(QLatin1String("UTC")))
            zoneBox->addItem(name, name);
    }
    const int zone = zoneBox->findData(current.timeZone);
    zoneBox->setCurrentIndex(zone >= 0 ? zone : 0);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *form = new QFormLayout(this);
    form->addRow(tr("Speed and distance"), unitBox);
    form->addRow(tr("Times shown in"), zoneBox);
    form->addRow(buttons);
}

DisplaySettings SettingsDialog::chosen() const
{
    DisplaySettings display;
    display.speedUnit = SpeedUnit(unitBox->currentData().toInt());
    display.timeZone = zoneBox->currentData().toString();
    return display;
}
