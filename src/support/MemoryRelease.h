#pragma once

// Hands the memory that a large load or save used for a moment back to the system. The C
// library otherwise keeps the freed pages, and a large phone book's peak would stay resident.
void ReleaseFreedMemory();
