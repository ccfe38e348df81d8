#ifndef VIDEOOUTPUT_H
#define VIDEOOUTPUT_H

#include <QWidget>

struct libvlc_media_player_t;

// Binds the player's video output to a widget's native window. One
// implementation per platform, chosen at build time.
void bindVideoOutput(libvlc_media_player_t *player, WId window);

#endif // VIDEOOUTPUT_H
