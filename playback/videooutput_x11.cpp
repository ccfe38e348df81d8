#include "playback/videooutput.h"

#include <vlc/vlc.h>

void bindVideoOutput(libvlc_media_player_t *player, WId window)
{
    libvlc_media_player_set_xwindow(player, static_cast<uint32_t>(window));
    // libvlc would otherwise take the mouse and keys inside its window, and
    // the double click that toggles full screen would never reach the widget.
    libvlc_video_set_mouse_input(player, false);
    libvlc_video_set_key_input(player, false);
}
