#pragma once

#include <QObject>

class TestQueryWindow : public QObject {
    Q_OBJECT
private slots:
    void windowOpensWithTheFocusOnSubmitQueryAndTabsInItsOrder();
    void enterAndEscDoNothingByThemselves();
    void parameterListFollowsTheKindLetter_data();
    void parameterListFollowsTheKindLetter();
    void displayShowsEachStepOfTheFirstCondition();
    void typingUpdatesTheDisplayPerCharacter();
    void firstConnectorWinsAndFreezesTheFirstCondition();
    void connectorBeforeAnyPickShowsThreeEmptyParts();
    void clearKeepsTheControlsAndTheNextClickCapturesThem();
    void switchingFromCodedToNumericEmptiesTheValueAndShowsTheUnit();
    void siteUnvegetatedOffersULeavingTheValueEmpty();
    void fishSpeciesSelectsNothingVegetationSpeciesPreselectsTheFirst();
    void checksRunInOrderAndEachFailureKeepsTheWindowOpen();
    void submitStraightAfterAConnectorOrClearIsRefused();
    void anIncompleteFirstConditionIsRefusedAfterAConnector();
    void successfulSubmitHandsOffAndEndsTheWindowAccepted();
    void twoConditionsBuiltByClicksGiveTheirExpression();
    void cancelHandsNothingOver();
    void pickListsOfferTheirLabelsInOrder_data();
    void pickListsOfferTheirLabelsInOrder();
    void speciesListsOfferEveryNameInOrder();
};
