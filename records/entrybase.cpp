// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
#include "records/entrybase.h"

EntryBase::~EntryBase() = default;
