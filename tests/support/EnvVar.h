#pragma once
// Sets an environment variable for the lifetime of the object and restores it afterwards.
#include <QByteArray>
#include <QtGlobal>

class EnvVar {
public:
    EnvVar(const char* name, const QByteArray& value) : m_name(name), m_had(qEnvironmentVariableIsSet(name)), m_old(qgetenv(name))
    {
        qputenv(name, value);
    }
    ~EnvVar() { m_had ? qputenv(m_name, m_old) : qunsetenv(m_name); }
    EnvVar(const EnvVar&) = delete;
    EnvVar& operator=(const EnvVar&) = delete;

private:
    const char* m_name;
    bool m_had;
    QByteArray m_old;
};
