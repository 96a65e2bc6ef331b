#include "CBorderLine.h"

CBorderLine::~CBorderLine() = default;
