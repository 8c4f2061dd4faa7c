#include "ui/qt/png_writer.h"

#include <gtest/gtest.h>

int main_placeholder;
