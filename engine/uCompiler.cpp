#include "engine/uCompiler.h"

TCompiler::TCompiler() : Code(CodeSize, 0) {}

void TCompiler::Compile() {}
