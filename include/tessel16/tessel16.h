// tessel16.h: the whole public API in one include.
#pragma once

#include "tessel16/version.h"
#include "tessel16/export.h"
#include "tessel16/fwd.h"
#include "tessel16/types.h"
#include "tessel16/exception.h"
#include "tessel16/switches.h"
#include "tessel16/xml_document.h"
#include "tessel16/critical_section.h"
#include "tessel16/binary_data.h"
