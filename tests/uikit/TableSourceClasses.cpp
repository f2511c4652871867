#include "TableTestSupport.h"

namespace uikit::testing {

TORVANE_DEFINE_CLASS(RecordingCell)
TORVANE_DEFINE_CLASS(TableSource)
TORVANE_DEFINE_CLASS_WITH_METHODS(FullTableSource, [](runtime::Class& cls) {
    registerOptional(cls, { TableViewDataSource::numberOfSections, TableViewDataSource::titleForHeader, TableViewDelegate::willSelectRow,
                              TableViewDelegate::didSelectRow, TableViewDelegate::didDeselectRow });
})
TORVANE_DEFINE_CLASS_WITH_METHODS(SizedTableSource, [](runtime::Class& cls) { registerOptional(cls, TableViewDelegate::heightForRow); })

}
