// The PNG reader the tests check pictures with, from Debian's libstb-dev.
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#include <stb_image.h>
