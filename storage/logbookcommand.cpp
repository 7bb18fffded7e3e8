// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
#include "storage/logbookcommand.h"

LogBookCommand::~LogBookCommand() = default;
