#ifndef SETTINGSDIALOG_H
#define SETTINGSDIALOG_H

#include "library/usersettings.h"

#include <QDialog>

class QComboBox;

// The speed unit and the time zone, chosen from lists; what the window
// shows follows once it is accepted.
class SettingsDialog : public QDialog
{
    Q_OBJECT

public:
    explicit SettingsDialog(const DisplaySettings &current, QWidget *parent = nullptr);

    DisplaySettings chosen() const;

private:
    QComboBox *unitBox = nullptr;
    QComboBox *zoneBox = nullptr;
};

#endif // SETTINGSDIALOG_H
