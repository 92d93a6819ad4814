#include "components/widgets/find_control.h"

#include <QLabel>
#include <QLineEdit>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

template <class Lookup> std::string errorOf(Lookup lookup)
{
    try {
        lookup();
    } catch (const std::logic_error& e) {
        return e.what();
    }
    return "no error";
}

TEST(FindControl, FindsANamedControlAndThrowsNamingFormControlAndTypeForAMissingOne)
{
    QWidget form;
    form.setObjectName(QStringLiteral("CarDataForm"));
    auto* label = new QLabel(new QWidget(&form));
    label->setObjectName(QStringLiteral("PathLabel"));
    EXPECT_EQ(findControl<QLabel>(&form, "PathLabel"), label);
    EXPECT_EQ(findControl<QWidget>(&form, QStringLiteral("PathLabel")), label);

    EXPECT_EQ(errorOf([&] { findControl<QLabel>(&form, "PathLable"); }),
              "QWidget 'CarDataForm' has no control 'PathLable' of type QLabel");
    EXPECT_EQ(errorOf([&] { findControl<QLineEdit>(&form, "PathLabel"); }),
              "QWidget 'CarDataForm' has no control 'PathLabel' of type QLineEdit (it is a QLabel)");
}

}  // namespace
