// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

#include "resources/resources.h"

#include <QtGlobal>

void initTovixResources()
{
    Q_INIT_RESOURCE(resources);
}
