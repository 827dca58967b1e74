#ifndef TENARAI_DIALOGS_ASSERT_H
#define TENARAI_DIALOGS_ASSERT_H

#include <QString>
#include <typeinfo>

// Checks that report only in a debug build; in a release build each returns at once and a bad
// value simply goes on (the dialogs clamp what they must).
class TAssert final
{
public:
    static void IsTrue(bool value, const QString& message = {}) { Check(value, message); }
    static void IsFalse(bool value, const QString& message = {}) { Check(!value, message); }
    template <typename P> static void IsNotNil(const P& pointer, const QString& message = {})
    {
        Check(pointer != nullptr, message);
    }
    template <typename Class, typename Object>
    static void IsClass(const Object* object, const QString& message = {})
    {
        Check(object != nullptr && typeid(*object) == typeid(Class), message);
    }
    template <typename Interface, typename Object>
    static void Implements(const Object* object, const QString& message = {})
    {
        Check(dynamic_cast<const Interface*>(object) != nullptr, message);
    }
    template <typename T> static void InRange(T value, T low, T high, const QString& message = {})
    {
        Check(low <= value && value <= high, message);
    }
    template <typename T> static void StrickLessThan(T value, T high, const QString& message = {})
    {
        Check(value < high, message);
    }
    template <typename T> static void StrickMoreThan(T value, T low, const QString& message = {})
    {
        Check(value > low, message);
    }
    template <typename T> static void LessAndEqualThan(T value, T high, const QString& message = {})
    {
        Check(value <= high, message);
    }
    template <typename T> static void MoreAndEqulThan(T value, T low, const QString& message = {})
    {
        Check(value >= low, message);
    }
    template <typename T> static void AreEqual(T a, T b, const QString& message = {})
    {
        Check(a == b, message);
    }

private:
    static void Check(bool ok, const QString& message);
};

#endif
