#pragma once

#include <QObject>

class TestSearchExpression : public QObject {
    Q_OBJECT
private slots:
    void expressionFollowsTheConditionState_data();
    void expressionFollowsTheConditionState();
};
