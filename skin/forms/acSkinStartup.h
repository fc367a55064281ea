#pragma once
// Start-up and shutdown of the skinning library's units, in their order;
// each unit does its work once. The application calls these around its run.
void SkinLibraryInitialization();
void SkinLibraryFinalization();
