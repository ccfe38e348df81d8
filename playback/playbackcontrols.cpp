// The transport controls: play/pause, stop, previous, next and snapshot.

#include "app/velmora.h"

#include "playback/uvlcwrapper.h"

void Velmora::SwitchPlaybuttonAndPausebutton()
{
}

void Velmora::PauseButtonPlay()
{
}

void Velmora::ClearGUI()
{
}

void Velmora::PlayNext()
{
}

void Velmora::PlayPrevious()
{
}

void Velmora::takeShot()
{
    player->takeShot();
}
