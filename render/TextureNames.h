#pragma once
// Generates n texture names and lets them go unused, so that names generated afterwards stay
// clear of the fixed texture slots the loads bind directly.
void reserveTextureNames(int n);
