// The two paged list tables and the import and delete buttons.

#include "app/velmora.h"

void Velmora::OpenFiles()
{
}

void Velmora::DeleteFile()
{
}

void Velmora::ListTableClearSelecttionLeft()
{
}

void Velmora::ListTableClearSelecttionRight()
{
}

void Velmora::ListTableSetIndexLeft(int, int)
{
}

void Velmora::ListTableSetIndexRight(int, int)
{
}

void Velmora::ListTablePlayVideoLeft(int, int)
{
}

void Velmora::ListTablePlayVideoRight(int, int)
{
}

void Velmora::ListTablePreviousPage()
{
}

void Velmora::ListTableNextPage()
{
}

void Velmora::ListTableUpdate()
{
}
