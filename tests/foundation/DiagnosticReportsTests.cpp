#include <foundation/DiagnosticReports.h>
#include <foundation/NSString.h>

#include <gtest/gtest.h>

#include <algorithm>

using foundation::DiagnosticReports;
using foundation::NSString;

namespace {

DiagnosticReports::Producer text(std::string value)
{
    return [value] { return runtime::RefPtr<runtime::Object>(NSString::create(value).ptr()); };
}

std::string reportText(std::string_view name)
{
    auto report = DiagnosticReports::report(name);
    return report ? report->description() : "(none)";
}

}

TEST(DiagnosticReports, AReportIsMadeWhenAskedAndGoesWithItsToken)
{
    int made = 0;
    {
        auto token = DiagnosticReports::registerReport("test.count", [&made] {
            ++made;
            return runtime::RefPtr<runtime::Object>(NSString::create(std::to_string(made)).ptr());
        });
        EXPECT_EQ(made, 0) << "nothing is made until someone asks";
        EXPECT_EQ(reportText("test.count"), "1");
        EXPECT_EQ(reportText("test.count"), "2") << "each request tells the state of its moment";
    }
    EXPECT_EQ(DiagnosticReports::report("test.count"), nullptr);
    EXPECT_EQ(reportText("test.nobody"), "(none)");
}

TEST(DiagnosticReports, TheLatestOfOneNameAnswersUntilItGoes)
{
    auto first = DiagnosticReports::registerReport("test.shared", text("first"));
    auto other = DiagnosticReports::registerReport("test.other", text("other"));
    {
        auto second = DiagnosticReports::registerReport("test.shared", text("second"));
        EXPECT_EQ(reportText("test.shared"), "second");
        auto names = DiagnosticReports::names();
        EXPECT_EQ(std::count(names.begin(), names.end(), "test.shared"), 1) << "a name is listed once";
    }
    EXPECT_EQ(reportText("test.shared"), "first") << "the earlier registration answers again";
    EXPECT_EQ(reportText("test.other"), "other") << "removing one registration leaves the others";
}
