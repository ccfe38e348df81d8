// The 250 ms cycle that keeps the display in step with the video and its log.

#include "app/velmora.h"

void Velmora::UpdateUIData()
{
}
