// Every stored record of a map in one include, for the file reader and writer.
#pragma once

#include "document/faction_record.h"
#include "document/map_grid.h"
#include "document/map_header.h"
#include "document/scenario_texts.h"
#include "document/troop_record.h"
#include "document/undo_record.h"
#include "gamedata/rule_set.h"
