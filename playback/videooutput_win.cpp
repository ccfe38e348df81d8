#include "playback/videooutput.h"

#include <vlc/vlc.h>

void bindVideoOutput(libvlc_media_player_t *player, WId window)
{
    libvlc_media_player_set_hwnd(player, reinterpret_cast<void *>(window));
}
