// CTest lists the tests from what this program prints under Wine: lines must end in LF alone,
// as on the host, or every suite name would keep a CR.
#include <fcntl.h>
#include <io.h>

#include <cstdio>

static const int kStdoutMode = _setmode(_fileno(stdout), _O_BINARY);
