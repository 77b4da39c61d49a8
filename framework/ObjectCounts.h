// The live GDI and USER objects of this process, for the benchmark's and the
// tests' leak checks, also where the system keeps no count of its own (Wine).
#pragma once

long GdiObjects();
long UserObjects();
