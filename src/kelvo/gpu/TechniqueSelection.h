// The current technique and pass: the texts of the render variables "r_technique" and
// "r_pass". Renderers and materials set them before drawing; an effect reads them when it
// begins.
#pragma once

#include <string>

void SetTechnique(const std::string& name);
std::string GetTechnique();
void SetPass(const std::string& name);
std::string GetPass();
