// Choosing and loading the map page that suits a recording, then starting it.

#include "app/velmora.h"

void Velmora::LoadMapToPlay(int)
{
}

void Velmora::LoadedToPaly(bool)
{
}

void Velmora::NotConnectedTimerHandler()
{
}
