#pragma once

#include <QValidator>

// Refuses a character where it is typed when the data files could not store it.
class Cp1252Validator : public QValidator {
    Q_OBJECT
public:
    using QValidator::QValidator;
    State validate(QString& input, int& pos) const override;
};
