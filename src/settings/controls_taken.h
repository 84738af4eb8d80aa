// Working out ControlsTaken from the bindings just loaded.
#pragma once

void WorkOutControlsTaken();
