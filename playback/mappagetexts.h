#ifndef MAPPAGETEXTS_H
#define MAPPAGETEXTS_H

#include <QString>

// The texts of the map pages, in the user's language. The pages hold only
// keys (data-l10n="..."); the program gives them their texts before their
// own scripts run, as window.velmoraTexts, so that pages and window always
// speak the same language.
QString mapPageTextsScript();

#endif // MAPPAGETEXTS_H
