// The pictures built into the program. A static library's resources must be registered by hand.
#pragma once

void initTovixResources();
