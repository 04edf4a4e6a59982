/// @file
/// The whole public interface of ezu.
#ifndef EZU_EZU_H
#define EZU_EZU_H

#include "ezu/core/mem.h"
#include "ezu/core/hash.h"
#include "ezu/core/list.h"
#include "ezu/core/encoding.h"

#include "ezu/strings/strbuf.h"
#include "ezu/strings/tstr.h"
#include "ezu/strings/strlist.h"

#include "ezu/settings/map.h"
#include "ezu/settings/settings.h"
#include "ezu/settings/plugin.h"
#include "ezu/settings/plugin_module.h"

#include "ezu/io/path.h"
#include "ezu/io/device.h"
#include "ezu/io/ezupath.h"
#include "ezu/io/app_path.h"
#include "ezu/io/file_entry.h"
#include "ezu/io/temp_files.h"

#include "ezu/host/command.h"
#include "ezu/host/console.h"
#include "ezu/host/queries.h"

#endif
