#pragma once
// The review's fixture: a local user database and a device's copy, both of
// the current schema, in the test's own folder, holding one difference of
// every kind (and rows both sides share, which are none), written straight
// into the files.
#include "../datastore/SyncPair.h"

class SyncReviewFixture : public SyncPair
{
protected:
    static constexpr qint64 OldStamp = 1700000000;
    static constexpr qint64 NewStamp = 1700003600;
    // 2026-03-02 09:00 in Paris.
    static constexpr qint64 Nine = 1772438400;

    void SetUp() override
    {
        SyncPair::SetUp();
        CAppData::SetConfiguration(&config);
        // Shared by both sides, unchanged: no difference.
        const QString shared = QStringLiteral(
            "insert into Projets (Id, Nom, Parent, Type, Date_Modif, Origine_Modif, Deleted) "
            "values (101, 'Client A', -1, 2, 5, 0, 0);"
            "insert into Activites (Id, Nom, Red, Green, Blue, Date_Modif, Origine_Modif, Deleted) "
            "values (200, 'Pose', 0, 128, 0, 5, 0, 0);"
            "insert into TauxHoraire (Id, Nom, Valeur, Date_Modif, Origine_Modif, Deleted) "
            "values (300, 'Normal', 45, 5, 0, 0);");
        const QString longTitle(10000, u'x');
        execAll(local, shared
                        + QStringLiteral(
                            // A project changed here: its rate, parent and activity exist.
                            "insert into Projets (Id, Nom, Commentaire, Title, Parent, Type, Activity, IdTauxHoraire, "
                            "Red, Green, Blue, Date_Modif, Origine_Modif, Deleted) values (100, 'Cuisine', "
                            "'Refaire la cuisine', 'Cuisine 2026', 101, 2, 200, 300, 255, 0, 0, %1, 1, 0);"
                            // A rate changed here, deleted on the device later.
                            "insert into TauxHoraire (Id, Nom, Commentaire, Valeur, Date_Modif, Origine_Modif, Deleted) "
                            "values (301, 'Urgence', 'Le soir', 62.5, %2, 1, 0);"
                            // A running entry here, a finished one there.
                            "insert into Taches (Id, Debut, Fin, IdProjet, IdActivite, IdTauxHoraire, Facture, Title, "
                            "Notes, Date_Modif, Origine_Modif, Deleted) values (400, %3, 0, 100, 200, 300, 0, 'Carrelage', "
                            "'', %1, 1, 0);"
                            "insert into Favoris (Id, IdProject, IdActivite, IdTauxHoraire, Ordre, Title, Date_Modif, "
                            "Origine_Modif, Deleted) values (500, 100, 200, 300, 0, 'Poser', %1, 1, 0);"
                            "insert into Forecast (rowid, IdProject, IdActivity, Priority, Status, TypeDateDebut, "
                            "DateDebut, Prevu, TypePrevu, Date_Modif, Origine_Modif, Deleted) values (600, 100, -2, 3, 4, "
                            "3, %3, 0, 1, %1, 1, 0);"
                            "insert into ProjectChilds (IdProject, Childs, Date_Modif, Origine_Modif) "
                            "values (-1, ';101;;100;', %1, 1);")
                              .arg(NewStamp)
                              .arg(OldStamp)
                              .arg(Nine));
        execAll(device, shared
                         + QStringLiteral(
                             // The same project from a hostile device: no name, a type past the
                             // last, a title far too long.
                             "insert into Projets (Id, Nom, Title, Parent, Type, Activity, IdTauxHoraire, Date_Modif, "
                             "Origine_Modif, Deleted) values (100, NULL, '%4', -1, 9, -1, -1, %2, 0, 0);"
                             "insert into Activites (Id, Nom, Commentaire, Red, Green, Blue, Date_Modif, Origine_Modif, "
                             "Deleted) values (201, 'Peinture', 'Murs', 0, 0, 255, %1, 0, 0);"
                             "insert into TauxHoraire (Id, Nom, Valeur, Date_Modif, Origine_Modif, Deleted) "
                             "values (301, 'Urgence', 60, %1, 0, 1);"
                             "insert into Taches (Id, Debut, Fin, IdProjet, IdActivite, IdTauxHoraire, Facture, Title, "
                             "Notes, Date_Modif, Origine_Modif, Deleted) values (400, %3, %5, 100, 200, 300, 1, "
                             "'Carrelage', 'Fini', %2, 0, 0);"
                             "insert into Favoris (Id, IdProject, IdActivite, IdTauxHoraire, Ordre, Title, Date_Modif, "
                             "Origine_Modif, Deleted) values (500, 101, -1, -1, 0, 'Rendez-vous', %2, 0, 0);"
                             "insert into Forecast (rowid, IdProject, IdActivity, Priority, Status, TypeDateDebut, "
                             "DateDebut, Date_Modif, Origine_Modif, Deleted) values (600, 100, -2, 99, -5, 1, "
                             "9223372036854775807, %2, 0, 0);"
                             "insert into ProjectChilds (IdProject, Childs, Date_Modif, Origine_Modif) "
                             "values (-1, ';100;;101;', %2, 0);")
                               .arg(NewStamp)
                               .arg(OldStamp)
                               .arg(Nine)
                               .arg(longTitle)
                               .arg(Nine + 3600));
    }
    // Statements in one transaction.
    static void execAll(const QString &path, const QString &sql) { exec(path, "begin;" + sql + "commit"); }

    CConfiguration config;
};
