// libjpeg's headers expect size_t and FILE to be declared before them.
#pragma once

#include <cstddef>
#include <cstdio>

#include <jpeglib.h>
#include <jerror.h>
