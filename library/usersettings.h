#ifndef USERSETTINGS_H
#define USERSETTINGS_H

#include <QRect>
#include <QString>

// How the user left the window, kept in the settings file between runs.
// The language the user chose: the system's, or one of the program's own.
enum class Language { System, English, Russian };

Language savedLanguage();
void saveLanguage(Language language);

struct WindowMemory
{
    int volume = 50;
    QRect geometry; // the normal (not maximised) frame; empty: never saved
    bool maximized = false;
    int listPage = 0;
    QString importFolder;

    static WindowMemory load();
    void save() const;
};

#endif // USERSETTINGS_H
