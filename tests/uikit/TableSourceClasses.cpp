#include "TableTestSupport.h"

namespace uikit::testing {

TORVANE_DEFINE_CLASS(RecordingCell)
TORVANE_DEFINE_CLASS(TableSource)
TORVANE_DEFINE_CLASS_WITH_METHODS(FullTableSource, [](runtime::Class& cls) {
    registerOptional(cls, { "numberOfSectionsInTableView:", "tableView:titleForHeaderInSection:",
                              "tableView:willSelectRowAtIndexPath:", "tableView:didSelectRowAtIndexPath:",
                              "tableView:didDeselectRowAtIndexPath:" });
})
TORVANE_DEFINE_CLASS_WITH_METHODS(SizedTableSource, [](runtime::Class& cls) { registerOptional(cls, runtime::sel("tableView:heightForRowAtIndexPath:")); })

}
