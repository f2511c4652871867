#include "TableTestSupport.h"

namespace uikit::testing {

TORVANE_DEFINE_CLASS(RecordingCell)
TORVANE_DEFINE_CLASS(TableSource)
TORVANE_DEFINE_CLASS(FullTableSource)
TORVANE_DEFINE_CLASS(SizedTableSource)

}
