// The control of a form by its object name. A name that the form lacks, or
// a control of another type, is a fault of the program: it raises
// std::logic_error naming the form, the control and the type, where a bare
// findChild would hand back a null pointer. Where a control may legitimately
// be absent, findChild stays.
#pragma once

#include <QObject>
#include <QString>
#include <stdexcept>
#include <string>

namespace find_control_detail {

[[noreturn]] inline void missing(const QObject* form, const QString& name, const char* type)
{
    std::string where = form->metaObject()->className();
    if (!form->objectName().isEmpty())
        where += " '" + form->objectName().toStdString() + "'";
    std::string what = where + " has no control '" + name.toStdString() + "' of type " + type;
    if (const QObject* other = form->findChild<QObject*>(name))
        what += std::string(" (it is a ") + other->metaObject()->className() + ")";
    throw std::logic_error(what);
}

}  // namespace find_control_detail

template <class T> T* findControl(const QObject* form, const QString& name)
{
    T* control = form->findChild<T*>(name);
    if (!control)
        find_control_detail::missing(form, name, T::staticMetaObject.className());
    return control;
}

template <class T> T* findControl(const QObject* form, const char* name)
{
    return findControl<T>(form, QString::fromLatin1(name));
}
