-- Sample database shipped for French: a small consulting business during
-- three weeks of January 2025. Times are Unix seconds; the comments give the
-- wall-clock times in Paris (UTC+1 in winter), the zone the sample is written in.
-- The first-run and new-user wizards copy the built file and move its entries
-- onto the days before the user's today.
-- Ids stay below the desktop seeds of NextRowId (31 for projects and
-- activities, 100 for time entries): re-dating puts the counters back there.

BEGIN TRANSACTION;

create table Favoris(Id integer PRIMARY KEY, IdProject integer, IdActivite integer, IdTauxHoraire integer, Ordre integer, Date_Modif integer, Origine_Modif integer, Deleted integer, Share integer default 0, Title text default '');
create table Taches(Id integer primary key, Debut integer, Fin integer, IdActivite integer, IdProjet integer, Facture integer, IdTauxHoraire integer, Date_Modif integer, Origine_Modif integer, Deleted integer, Title text default '', Notes text default '');
create table Projets(Id integer PRIMARY KEY, Nom text default '', Title text default '', Commentaire text default '', Red integer, Green integer, Blue integer, IdTauxHoraire integer, Visible integer, Ordre integer, Date_Modif integer, Origine_Modif integer, Deleted integer, Share integer default 0, Parent integer default -1, Type integer default 0, Activity integer default -1);
create table Activites(Id integer PRIMARY KEY, Nom text, Commentaire text, Red integer, Green integer, Blue integer, IdTauxHoraire integer, Visible integer, Ordre integer, Date_Modif integer, Origine_Modif integer, Deleted integer, Share integer default 0, Parent integer default -1);
create table TauxHoraire(Id integer PRIMARY KEY, Nom text, Commentaire text, Valeur real, Date_Modif integer, Origine_Modif integer, Deleted integer, Share integer default 0);
create table Forecast(IdProject integer, IdActivity integer, Priority integer default 0, Status integer default 0, bJours integer default 0, bModeAuto integer default 1, bPrevuAuto integer default 1, Prevu integer default 0, TypePrevu integer default 1, DateDebut integer default 0, TypeDateDebut integer default 0, Predecesseurs text default '', DateFin integer default 0, TypeDateFin integer default 0, Delta integer default 0, TypeDelta integer default 0, DateAlerte integer default 0, DureeSupp integer default 0, TypeDureeSupp integer default 1, Total integer default -1, Visible integer default 1, Title text default '', Notes text default '', Date_Modif integer, Origine_Modif integer, Deleted integer default 0);
create table ProjectChilds(IdProject integer, Childs text, Date_Modif integer, Origine_Modif integer);
create table Infos(Name text, Value text);
create table NextRowId(Name text, Ppc integer, Pc integer, Serveur integer);

insert into Infos(Name, Value) values ('VersionDB','2');
insert into Infos(Name, Value) values ('Backup','');
insert into Infos(Name, Value) values ('Modif','1738344600');
insert into Infos(Name, Value) values ('MajLan','');
insert into Infos(Name, Value) values ('Demo','1');

-- Hourly rates
insert into TauxHoraire(Id, Nom, Commentaire, Valeur, Date_Modif, Origine_Modif, Deleted) values (1, 'Standard', 'Tarif horaire habituel', 65.00, 1738344600, 1, 0);
insert into TauxHoraire(Id, Nom, Commentaire, Valeur, Date_Modif, Origine_Modif, Deleted) values (2, 'Conseil', 'Missions d''expertise et d''audit', 90.00, 1738344600, 1, 0);
insert into TauxHoraire(Id, Nom, Commentaire, Valeur, Date_Modif, Origine_Modif, Deleted) values (3, 'Formation', 'Animation de sessions de formation', 75.00, 1738344600, 1, 0);
insert into TauxHoraire(Id, Nom, Commentaire, Valeur, Date_Modif, Origine_Modif, Deleted) values (4, 'Interne', 'Temps non facturable', 0.00, 1738344600, 1, 0);

-- Activities
insert into Activites(Id, Nom, Commentaire, Red, Green, Blue, IdTauxHoraire, Visible, Ordre, Date_Modif, Origine_Modif, Deleted, Parent) values (1, 'Réunion', 'Réunions avec le client ou l''équipe', 255, 214, 165, -1, 1, 0, 1738344600, 1, 0, -1);
insert into Activites(Id, Nom, Commentaire, Red, Green, Blue, IdTauxHoraire, Visible, Ordre, Date_Modif, Origine_Modif, Deleted, Parent) values (2, 'Développement', 'Programmation et intégration', 168, 218, 255, -1, 1, 0, 1738344600, 1, 0, -1);
insert into Activites(Id, Nom, Commentaire, Red, Green, Blue, IdTauxHoraire, Visible, Ordre, Date_Modif, Origine_Modif, Deleted, Parent) values (3, 'Conception', 'Analyse, maquettes et spécifications', 202, 255, 191, -1, 1, 0, 1738344600, 1, 0, -1);
insert into Activites(Id, Nom, Commentaire, Red, Green, Blue, IdTauxHoraire, Visible, Ordre, Date_Modif, Origine_Modif, Deleted, Parent) values (4, 'Rédaction', 'Documents, rapports et supports', 255, 198, 255, -1, 1, 0, 1738344600, 1, 0, -1);
insert into Activites(Id, Nom, Commentaire, Red, Green, Blue, IdTauxHoraire, Visible, Ordre, Date_Modif, Origine_Modif, Deleted, Parent) values (5, 'Tests', 'Recette et corrections', 253, 255, 182, -1, 1, 0, 1738344600, 1, 0, -1);
insert into Activites(Id, Nom, Commentaire, Red, Green, Blue, IdTauxHoraire, Visible, Ordre, Date_Modif, Origine_Modif, Deleted, Parent) values (6, 'Déplacement', 'Trajets chez le client', 212, 212, 212, -1, 1, 0, 1738344600, 1, 0, -1);
insert into Activites(Id, Nom, Commentaire, Red, Green, Blue, IdTauxHoraire, Visible, Ordre, Date_Modif, Origine_Modif, Deleted, Parent) values (7, 'Support client', 'Assistance par téléphone ou courriel', 255, 173, 173, -1, 1, 0, 1738344600, 1, 0, -1);
insert into Activites(Id, Nom, Commentaire, Red, Green, Blue, IdTauxHoraire, Visible, Ordre, Date_Modif, Origine_Modif, Deleted, Parent) values (8, 'Administration', 'Facturation, devis et gestion courante', 189, 178, 255, -1, 1, 0, 1738344600, 1, 0, -1);

-- Projects and sub-projects
insert into Projets(Id, Nom, Title, Commentaire, Red, Green, Blue, IdTauxHoraire, Visible, Ordre, Date_Modif, Origine_Modif, Deleted, Share, Parent, Type, Activity) values (1, 'Boulangerie Martin', 'Boulangerie Martin', 'Client depuis 2023 - contact : Mme Martin', 255, 224, 178, 1, 1, 0, 1738344600, 1, 0, 0, -1, 0, -1);
insert into Projets(Id, Nom, Title, Commentaire, Red, Green, Blue, IdTauxHoraire, Visible, Ordre, Date_Modif, Origine_Modif, Deleted, Share, Parent, Type, Activity) values (2, 'Site vitrine', 'Site vitrine de la boulangerie', 'Refonte du site avec les horaires et la carte', 255, 236, 204, 1, 1, 0, 1738344600, 1, 0, 0, 1, 0, -1);
insert into Projets(Id, Nom, Title, Commentaire, Red, Green, Blue, IdTauxHoraire, Visible, Ordre, Date_Modif, Origine_Modif, Deleted, Share, Parent, Type, Activity) values (3, 'Boutique en ligne', 'Commandes en ligne', 'Commande et retrait en magasin', 255, 245, 225, 1, 1, 0, 1738344600, 1, 0, 0, 1, 0, -1);
insert into Projets(Id, Nom, Title, Commentaire, Red, Green, Blue, IdTauxHoraire, Visible, Ordre, Date_Modif, Origine_Modif, Deleted, Share, Parent, Type, Activity) values (4, 'Mairie de Saint-Aubin', 'Mairie de Saint-Aubin', 'Marché public n° 2024-17', 187, 222, 251, 2, 1, 0, 1738344600, 1, 0, 0, -1, 0, -1);
insert into Projets(Id, Nom, Title, Commentaire, Red, Green, Blue, IdTauxHoraire, Visible, Ordre, Date_Modif, Origine_Modif, Deleted, Share, Parent, Type, Activity) values (5, 'Portail citoyen', 'Portail des démarches en ligne', 'Démarches d''état civil et inscriptions scolaires', 207, 232, 252, 1, 1, 0, 1738344600, 1, 0, 0, 4, 0, -1);
insert into Projets(Id, Nom, Title, Commentaire, Red, Green, Blue, IdTauxHoraire, Visible, Ordre, Date_Modif, Origine_Modif, Deleted, Share, Parent, Type, Activity) values (6, 'Formation des agents', 'Formation au portail', 'Trois demi-journées pour les agents d''accueil', 227, 242, 253, 3, 1, 0, 1738344600, 1, 0, 0, 4, 0, -1);
insert into Projets(Id, Nom, Title, Commentaire, Red, Green, Blue, IdTauxHoraire, Visible, Ordre, Date_Modif, Origine_Modif, Deleted, Share, Parent, Type, Activity) values (7, 'Cabinet Lefèvre & Associés', 'Cabinet Lefèvre & Associés', 'Cabinet d''expertise comptable', 200, 230, 201, 2, 1, 0, 1738344600, 1, 0, 0, -1, 0, -1);
insert into Projets(Id, Nom, Title, Commentaire, Red, Green, Blue, IdTauxHoraire, Visible, Ordre, Date_Modif, Origine_Modif, Deleted, Share, Parent, Type, Activity) values (8, 'Audit informatique', 'Audit du parc et de la sauvegarde', 'Rapport à remettre avant la clôture de l''exercice', 220, 237, 200, 2, 1, 0, 1738344600, 1, 0, 0, 7, 0, -1);
insert into Projets(Id, Nom, Title, Commentaire, Red, Green, Blue, IdTauxHoraire, Visible, Ordre, Date_Modif, Origine_Modif, Deleted, Share, Parent, Type, Activity) values (9, 'Interne', 'Interne', 'Temps non facturable', 224, 224, 224, 4, 1, 0, 1738344600, 1, 0, 0, -1, 0, -1);
insert into Projets(Id, Nom, Title, Commentaire, Red, Green, Blue, IdTauxHoraire, Visible, Ordre, Date_Modif, Origine_Modif, Deleted, Share, Parent, Type, Activity) values (10, 'Veille technologique', 'Veille', 'Lectures, conférences et essais', 238, 238, 238, 4, 1, 0, 1738344600, 1, 0, 0, 9, 0, -1);
insert into Projets(Id, Nom, Title, Commentaire, Red, Green, Blue, IdTauxHoraire, Visible, Ordre, Date_Modif, Origine_Modif, Deleted, Share, Parent, Type, Activity) values (11, 'Gestion de l''entreprise', 'Gestion', 'Devis, factures et comptabilité', 245, 245, 245, 4, 1, 0, 1738344600, 1, 0, 0, 9, 0, -1);

-- Order of the children of each project (-1: the top level)
insert into ProjectChilds(IdProject, Childs, Date_Modif, Origine_Modif) values (-1, ';1;4;7;9;', 1738344600, 1);
insert into ProjectChilds(IdProject, Childs, Date_Modif, Origine_Modif) values (1, ';2;3;', 1738344600, 1);
insert into ProjectChilds(IdProject, Childs, Date_Modif, Origine_Modif) values (2, ';A3;A2;A5;A1;', 1738344600, 1);
insert into ProjectChilds(IdProject, Childs, Date_Modif, Origine_Modif) values (3, ';A3;A2;A5;', 1738344600, 1);
insert into ProjectChilds(IdProject, Childs, Date_Modif, Origine_Modif) values (4, ';5;6;', 1738344600, 1);
insert into ProjectChilds(IdProject, Childs, Date_Modif, Origine_Modif) values (5, ';A1;A3;A2;A5;', 1738344600, 1);
insert into ProjectChilds(IdProject, Childs, Date_Modif, Origine_Modif) values (6, ';A4;A1;A6;', 1738344600, 1);
insert into ProjectChilds(IdProject, Childs, Date_Modif, Origine_Modif) values (7, ';8;A7;', 1738344600, 1);
insert into ProjectChilds(IdProject, Childs, Date_Modif, Origine_Modif) values (8, ';A1;A7;A4;A6;', 1738344600, 1);
insert into ProjectChilds(IdProject, Childs, Date_Modif, Origine_Modif) values (9, ';10;11;', 1738344600, 1);
insert into ProjectChilds(IdProject, Childs, Date_Modif, Origine_Modif) values (10, ';A4;A1;', 1738344600, 1);
insert into ProjectChilds(IdProject, Childs, Date_Modif, Origine_Modif) values (11, ';A8;A1;', 1738344600, 1);

-- Plans: the projects' own rows (activity -2) and a few activities
insert into Forecast(IdProject, IdActivity, Priority, Status, bJours, bModeAuto, bPrevuAuto, Prevu, TypePrevu, DateDebut, TypeDateDebut, Predecesseurs, DateFin, TypeDateFin, Delta, TypeDelta, DateAlerte, DureeSupp, TypeDureeSupp, Total, Visible, Title, Notes, Date_Modif, Origine_Modif, Deleted) values (1, -2, 0, 0, 0, 1, 1, 0, 1, 0, 0, '', 0, 0, 0, 0, 0, 0, 1, -1, 1, '', '', 1738344600, 1, 0);
insert into Forecast(IdProject, IdActivity, Priority, Status, bJours, bModeAuto, bPrevuAuto, Prevu, TypePrevu, DateDebut, TypeDateDebut, Predecesseurs, DateFin, TypeDateFin, Delta, TypeDelta, DateAlerte, DureeSupp, TypeDureeSupp, Total, Visible, Title, Notes, Date_Modif, Origine_Modif, Deleted) values (2, -2, 1, 0, 0, 0, 0, 40, 1, 1736150400, 1, '', 1738342800, 1, 0, 0, 1737964800, 0, 1, -1, 1, 'Mise en ligne fin janvier', 'Textes et photos fournis par le client', 1738344600, 1, 0);
insert into Forecast(IdProject, IdActivity, Priority, Status, bJours, bModeAuto, bPrevuAuto, Prevu, TypePrevu, DateDebut, TypeDateDebut, Predecesseurs, DateFin, TypeDateFin, Delta, TypeDelta, DateAlerte, DureeSupp, TypeDureeSupp, Total, Visible, Title, Notes, Date_Modif, Origine_Modif, Deleted) values (3, -2, 0, 0, 1, 0, 0, 15, 2, 0, 2, ';2,-2,0,4;', 1741971600, 1, 0, 0, 1741334400, 0, 1, -1, 1, 'Ouverture des commandes', 'Paiement sur place uniquement', 1738344600, 1, 0);
insert into Forecast(IdProject, IdActivity, Priority, Status, bJours, bModeAuto, bPrevuAuto, Prevu, TypePrevu, DateDebut, TypeDateDebut, Predecesseurs, DateFin, TypeDateFin, Delta, TypeDelta, DateAlerte, DureeSupp, TypeDureeSupp, Total, Visible, Title, Notes, Date_Modif, Origine_Modif, Deleted) values (4, -2, 0, 0, 0, 1, 1, 0, 1, 0, 0, '', 0, 0, 0, 0, 0, 0, 1, -1, 1, '', '', 1738344600, 1, 0);
insert into Forecast(IdProject, IdActivity, Priority, Status, bJours, bModeAuto, bPrevuAuto, Prevu, TypePrevu, DateDebut, TypeDateDebut, Predecesseurs, DateFin, TypeDateFin, Delta, TypeDelta, DateAlerte, DureeSupp, TypeDureeSupp, Total, Visible, Title, Notes, Date_Modif, Origine_Modif, Deleted) values (5, -2, 2, 0, 0, 1, 1, 0, 1, 1736755200, 1, '', 1746028800, 1, 0, 0, 1744700400, 0, 1, -1, 1, 'Portail en service au printemps', '', 1738344600, 1, 0);
insert into Forecast(IdProject, IdActivity, Priority, Status, bJours, bModeAuto, bPrevuAuto, Prevu, TypePrevu, DateDebut, TypeDateDebut, Predecesseurs, DateFin, TypeDateFin, Delta, TypeDelta, DateAlerte, DureeSupp, TypeDureeSupp, Total, Visible, Title, Notes, Date_Modif, Origine_Modif, Deleted) values (5, 3, 0, 0, 0, 0, 0, 16, 1, 0, 0, '', 0, 0, 0, 0, 0, 0, 1, -1, 1, '', '', 1738344600, 1, 0);
insert into Forecast(IdProject, IdActivity, Priority, Status, bJours, bModeAuto, bPrevuAuto, Prevu, TypePrevu, DateDebut, TypeDateDebut, Predecesseurs, DateFin, TypeDateFin, Delta, TypeDelta, DateAlerte, DureeSupp, TypeDureeSupp, Total, Visible, Title, Notes, Date_Modif, Origine_Modif, Deleted) values (5, 2, 0, 0, 0, 0, 0, 48, 1, 0, 2, ';5,3,0,4;', 0, 0, 0, 0, 0, 0, 1, -1, 1, '', '', 1738344600, 1, 0);
insert into Forecast(IdProject, IdActivity, Priority, Status, bJours, bModeAuto, bPrevuAuto, Prevu, TypePrevu, DateDebut, TypeDateDebut, Predecesseurs, DateFin, TypeDateFin, Delta, TypeDelta, DateAlerte, DureeSupp, TypeDureeSupp, Total, Visible, Title, Notes, Date_Modif, Origine_Modif, Deleted) values (5, 5, 0, 0, 0, 0, 0, 16, 1, 0, 2, ';5,2,0,4;', 0, 0, 0, 0, 0, 0, 1, -1, 1, '', 'Recette avec deux agents de la mairie', 1738344600, 1, 0);
insert into Forecast(IdProject, IdActivity, Priority, Status, bJours, bModeAuto, bPrevuAuto, Prevu, TypePrevu, DateDebut, TypeDateDebut, Predecesseurs, DateFin, TypeDateFin, Delta, TypeDelta, DateAlerte, DureeSupp, TypeDureeSupp, Total, Visible, Title, Notes, Date_Modif, Origine_Modif, Deleted) values (6, -2, 0, 0, 1, 0, 0, 3, 2, 1739174400, 3, ';5,-2,0,4;', 0, 0, 0, 0, 0, 0, 1, -1, 1, 'Sessions de février', '', 1738344600, 1, 0);
insert into Forecast(IdProject, IdActivity, Priority, Status, bJours, bModeAuto, bPrevuAuto, Prevu, TypePrevu, DateDebut, TypeDateDebut, Predecesseurs, DateFin, TypeDateFin, Delta, TypeDelta, DateAlerte, DureeSupp, TypeDureeSupp, Total, Visible, Title, Notes, Date_Modif, Origine_Modif, Deleted) values (7, -2, 0, 0, 0, 1, 1, 0, 1, 0, 0, '', 0, 0, 0, 0, 0, 0, 1, -1, 1, '', '', 1738344600, 1, 0);
insert into Forecast(IdProject, IdActivity, Priority, Status, bJours, bModeAuto, bPrevuAuto, Prevu, TypePrevu, DateDebut, TypeDateDebut, Predecesseurs, DateFin, TypeDateFin, Delta, TypeDelta, DateAlerte, DureeSupp, TypeDureeSupp, Total, Visible, Title, Notes, Date_Modif, Origine_Modif, Deleted) values (8, -2, 1, 0, 0, 0, 0, 24, 1, 1736841600, 1, '', 1738947600, 1, 0, 0, 1738569600, 0, 1, -1, 1, 'Rapport d''audit', 'Sauvegardes à vérifier sur les deux sites', 1738344600, 1, 0);
insert into Forecast(IdProject, IdActivity, Priority, Status, bJours, bModeAuto, bPrevuAuto, Prevu, TypePrevu, DateDebut, TypeDateDebut, Predecesseurs, DateFin, TypeDateFin, Delta, TypeDelta, DateAlerte, DureeSupp, TypeDureeSupp, Total, Visible, Title, Notes, Date_Modif, Origine_Modif, Deleted) values (9, -2, 0, 0, 0, 1, 1, 0, 1, 0, 0, '', 0, 0, 0, 0, 0, 0, 1, -1, 1, '', '', 1738344600, 1, 0);
insert into Forecast(IdProject, IdActivity, Priority, Status, bJours, bModeAuto, bPrevuAuto, Prevu, TypePrevu, DateDebut, TypeDateDebut, Predecesseurs, DateFin, TypeDateFin, Delta, TypeDelta, DateAlerte, DureeSupp, TypeDureeSupp, Total, Visible, Title, Notes, Date_Modif, Origine_Modif, Deleted) values (10, -2, 0, 0, 0, 0, 1, 0, 1, 0, 0, '', 0, 0, 0, 0, 0, 0, 1, -1, 1, '', '', 1738344600, 1, 0);
insert into Forecast(IdProject, IdActivity, Priority, Status, bJours, bModeAuto, bPrevuAuto, Prevu, TypePrevu, DateDebut, TypeDateDebut, Predecesseurs, DateFin, TypeDateFin, Delta, TypeDelta, DateAlerte, DureeSupp, TypeDureeSupp, Total, Visible, Title, Notes, Date_Modif, Origine_Modif, Deleted) values (11, -2, 0, 0, 0, 0, 1, 0, 1, 0, 0, '', 0, 0, 0, 0, 0, 0, 1, -1, 1, '', '', 1738344600, 1, 0);

-- Favourites (Ordre: the time of the last use, newest first)
insert into Favoris(Id, IdProject, IdActivite, IdTauxHoraire, Ordre, Date_Modif, Origine_Modif, Deleted, Share, Title) values (1, 2, 2, 1, 1738344600, 1738344600, 1, 0, 0, 'Site vitrine - développement');
insert into Favoris(Id, IdProject, IdActivite, IdTauxHoraire, Ordre, Date_Modif, Origine_Modif, Deleted, Share, Title) values (2, 5, 3, 2, 1738341000, 1738344600, 1, 0, 0, 'Portail - conception');
insert into Favoris(Id, IdProject, IdActivite, IdTauxHoraire, Ordre, Date_Modif, Origine_Modif, Deleted, Share, Title) values (3, 8, 1, 2, 1738337400, 1738344600, 1, 0, 0, 'Audit - réunion');
insert into Favoris(Id, IdProject, IdActivite, IdTauxHoraire, Ordre, Date_Modif, Origine_Modif, Deleted, Share, Title) values (4, 11, 8, 4, 1738333800, 1738344600, 1, 0, 0, 'Gestion - administration');
insert into Favoris(Id, IdProject, IdActivite, IdTauxHoraire, Ordre, Date_Modif, Origine_Modif, Deleted, Share, Title) values (5, 3, 3, 1, 1738330200, 1738344600, 1, 0, 0, 'Boutique - conception');

-- Time entries, day by day
-- Monday 13 January 2025
insert into Taches(Id, Debut, Fin, IdActivite, IdProjet, Facture, IdTauxHoraire, Date_Modif, Origine_Modif, Deleted, Title, Notes) values (1, 1736754300, 1736756100, 8, 11, 0, 4, 1738344600, 1, 0, 'Courriels et planning de la semaine', ''); -- 08:45-09:15
insert into Taches(Id, Debut, Fin, IdActivite, IdProjet, Facture, IdTauxHoraire, Date_Modif, Origine_Modif, Deleted, Title, Notes) values (2, 1736756100, 1736760600, 1, 5, 1, 1, 1738344600, 1, 0, 'Lancement du projet', 'Réunion de lancement en mairie avec M. Durand'); -- 09:15-10:30
insert into Taches(Id, Debut, Fin, IdActivite, IdProjet, Facture, IdTauxHoraire, Date_Modif, Origine_Modif, Deleted, Title, Notes) values (3, 1736760600, 1736767800, 3, 5, 1, 1, 1738344600, 1, 0, 'Recueil des besoins', ''); -- 10:30-12:30
insert into Taches(Id, Debut, Fin, IdActivite, IdProjet, Facture, IdTauxHoraire, Date_Modif, Origine_Modif, Deleted, Title, Notes) values (4, 1736773200, 1736785800, 2, 2, 1, 1, 1738344600, 1, 0, 'Intégration des maquettes', 'Page d''accueil et page « Nos pains »'); -- 14:00-17:30
-- Tuesday 14 January 2025
insert into Taches(Id, Debut, Fin, IdActivite, IdProjet, Facture, IdTauxHoraire, Date_Modif, Origine_Modif, Deleted, Title, Notes) values (5, 1736841600, 1736845200, 6, 8, 1, 2, 1738344600, 1, 0, 'Trajet vers le cabinet', ''); -- 09:00-10:00
insert into Taches(Id, Debut, Fin, IdActivite, IdProjet, Facture, IdTauxHoraire, Date_Modif, Origine_Modif, Deleted, Title, Notes) values (6, 1736845200, 1736854200, 1, 8, 1, 2, 1738344600, 1, 0, 'Entretiens', 'Entretiens avec le responsable administratif'); -- 10:00-12:30
insert into Taches(Id, Debut, Fin, IdActivite, IdProjet, Facture, IdTauxHoraire, Date_Modif, Origine_Modif, Deleted, Title, Notes) values (7, 1736859600, 1736866800, 4, 8, 1, 2, 1738344600, 1, 0, 'Inventaire du parc', ''); -- 14:00-16:00
insert into Taches(Id, Debut, Fin, IdActivite, IdProjet, Facture, IdTauxHoraire, Date_Modif, Origine_Modif, Deleted, Title, Notes) values (8, 1736866800, 1736870400, 6, 8, 1, 2, 1738344600, 1, 0, 'Retour', ''); -- 16:00-17:00
insert into Taches(Id, Debut, Fin, IdActivite, IdProjet, Facture, IdTauxHoraire, Date_Modif, Origine_Modif, Deleted, Title, Notes) values (9, 1736870400, 1736874000, 8, 11, 0, 4, 1738344600, 1, 0, 'Devis boutique en ligne', ''); -- 17:00-18:00
-- Wednesday 15 January 2025
insert into Taches(Id, Debut, Fin, IdActivite, IdProjet, Facture, IdTauxHoraire, Date_Modif, Origine_Modif, Deleted, Title, Notes) values (10, 1736928000, 1736939700, 3, 5, 1, 1, 1738344600, 1, 0, 'Maquettes du portail', 'Parcours « demande d''acte de naissance »'); -- 09:00-12:15
insert into Taches(Id, Debut, Fin, IdActivite, IdProjet, Facture, IdTauxHoraire, Date_Modif, Origine_Modif, Deleted, Title, Notes) values (11, 1736945100, 1736955900, 2, 2, 1, 1, 1738344600, 1, 0, 'Page des horaires', ''); -- 13:45-16:45
insert into Taches(Id, Debut, Fin, IdActivite, IdProjet, Facture, IdTauxHoraire, Date_Modif, Origine_Modif, Deleted, Title, Notes) values (12, 1736955900, 1736958600, 5, 2, 1, 1, 1738344600, 1, 0, 'Vérification sur mobile', ''); -- 16:45-17:30
-- Thursday 16 January 2025
insert into Taches(Id, Debut, Fin, IdActivite, IdProjet, Facture, IdTauxHoraire, Date_Modif, Origine_Modif, Deleted, Title, Notes) values (13, 1737012600, 1737025200, 3, 5, 1, 1, 1738344600, 1, 0, 'Spécifications', 'Rédaction des fiches de démarche'); -- 08:30-12:00
insert into Taches(Id, Debut, Fin, IdActivite, IdProjet, Facture, IdTauxHoraire, Date_Modif, Origine_Modif, Deleted, Title, Notes) values (14, 1737030600, 1737036000, 7, 7, 1, 2, 1738344600, 1, 0, 'Assistance messagerie', 'Problème de synchronisation du calendrier'); -- 13:30-15:00
insert into Taches(Id, Debut, Fin, IdActivite, IdProjet, Facture, IdTauxHoraire, Date_Modif, Origine_Modif, Deleted, Title, Notes) values (15, 1737036000, 1737046800, 2, 2, 1, 1, 1738344600, 1, 0, 'Formulaire de contact', ''); -- 15:00-18:00
-- Friday 17 January 2025
insert into Taches(Id, Debut, Fin, IdActivite, IdProjet, Facture, IdTauxHoraire, Date_Modif, Origine_Modif, Deleted, Title, Notes) values (16, 1737100800, 1737106200, 4, 10, 0, 4, 1738344600, 1, 0, 'Veille sécurité', 'Bulletins de sécurité de la semaine'); -- 09:00-10:30
insert into Taches(Id, Debut, Fin, IdActivite, IdProjet, Facture, IdTauxHoraire, Date_Modif, Origine_Modif, Deleted, Title, Notes) values (17, 1737106200, 1737111600, 1, 2, 1, 1, 1738344600, 1, 0, 'Point avec Mme Martin', 'Validation des photos'); -- 10:30-12:00
insert into Taches(Id, Debut, Fin, IdActivite, IdProjet, Facture, IdTauxHoraire, Date_Modif, Origine_Modif, Deleted, Title, Notes) values (18, 1737118800, 1737127800, 2, 2, 1, 1, 1738344600, 1, 0, 'Galerie de photos', ''); -- 14:00-16:30
insert into Taches(Id, Debut, Fin, IdActivite, IdProjet, Facture, IdTauxHoraire, Date_Modif, Origine_Modif, Deleted, Title, Notes) values (19, 1737127800, 1737131400, 8, 11, 0, 4, 1738344600, 1, 0, 'Facturation de janvier', ''); -- 16:30-17:30
-- Monday 20 January 2025
insert into Taches(Id, Debut, Fin, IdActivite, IdProjet, Facture, IdTauxHoraire, Date_Modif, Origine_Modif, Deleted, Title, Notes) values (20, 1737359100, 1737360900, 8, 11, 0, 4, 1738344600, 1, 0, 'Planning de la semaine', ''); -- 08:45-09:15
insert into Taches(Id, Debut, Fin, IdActivite, IdProjet, Facture, IdTauxHoraire, Date_Modif, Origine_Modif, Deleted, Title, Notes) values (21, 1737360900, 1737372600, 2, 5, 1, 1, 1738344600, 1, 0, 'Développement des formulaires', ''); -- 09:15-12:30
insert into Taches(Id, Debut, Fin, IdActivite, IdProjet, Facture, IdTauxHoraire, Date_Modif, Origine_Modif, Deleted, Title, Notes) values (22, 1737378000, 1737391500, 2, 5, 1, 1, 1738344600, 1, 0, 'Connexion à l''annuaire de la mairie', ''); -- 14:00-17:45
-- Tuesday 21 January 2025
insert into Taches(Id, Debut, Fin, IdActivite, IdProjet, Facture, IdTauxHoraire, Date_Modif, Origine_Modif, Deleted, Title, Notes) values (23, 1737446400, 1737457200, 4, 8, 1, 2, 1738344600, 1, 0, 'Analyse des sauvegardes', 'Les sauvegardes du site secondaire ne sont pas testées'); -- 09:00-12:00
insert into Taches(Id, Debut, Fin, IdActivite, IdProjet, Facture, IdTauxHoraire, Date_Modif, Origine_Modif, Deleted, Title, Notes) values (24, 1737462600, 1737469800, 5, 2, 1, 1, 1738344600, 1, 0, 'Recette du site vitrine', ''); -- 13:30-15:30
insert into Taches(Id, Debut, Fin, IdActivite, IdProjet, Facture, IdTauxHoraire, Date_Modif, Origine_Modif, Deleted, Title, Notes) values (25, 1737469800, 1737477000, 2, 2, 1, 1, 1738344600, 1, 0, 'Corrections de recette', ''); -- 15:30-17:30
-- Wednesday 22 January 2025
insert into Taches(Id, Debut, Fin, IdActivite, IdProjet, Facture, IdTauxHoraire, Date_Modif, Origine_Modif, Deleted, Title, Notes) values (26, 1737532800, 1737545400, 2, 5, 1, 1, 1738344600, 1, 0, 'Espace personnel des usagers', ''); -- 09:00-12:30
insert into Taches(Id, Debut, Fin, IdActivite, IdProjet, Facture, IdTauxHoraire, Date_Modif, Origine_Modif, Deleted, Title, Notes) values (27, 1737550800, 1737554400, 1, 5, 1, 1, 1738344600, 1, 0, 'Point d''avancement', 'Compte rendu envoyé à M. Durand'); -- 14:00-15:00
insert into Taches(Id, Debut, Fin, IdActivite, IdProjet, Facture, IdTauxHoraire, Date_Modif, Origine_Modif, Deleted, Title, Notes) values (28, 1737554400, 1737565200, 2, 5, 1, 1, 1738344600, 1, 0, 'Téléversement des pièces justificatives', ''); -- 15:00-18:00
-- Thursday 23 January 2025
insert into Taches(Id, Debut, Fin, IdActivite, IdProjet, Facture, IdTauxHoraire, Date_Modif, Origine_Modif, Deleted, Title, Notes) values (29, 1737617400, 1737622800, 7, 7, 1, 2, 1738344600, 1, 0, 'Poste comptable en panne', 'Remplacement de l''alimentation'); -- 08:30-10:00
insert into Taches(Id, Debut, Fin, IdActivite, IdProjet, Facture, IdTauxHoraire, Date_Modif, Origine_Modif, Deleted, Title, Notes) values (30, 1737622800, 1737631800, 4, 8, 1, 2, 1738344600, 1, 0, 'Rédaction du rapport d''audit', ''); -- 10:00-12:30
insert into Taches(Id, Debut, Fin, IdActivite, IdProjet, Facture, IdTauxHoraire, Date_Modif, Origine_Modif, Deleted, Title, Notes) values (31, 1737637200, 1737648000, 3, 3, 1, 1, 1738344600, 1, 0, 'Analyse de la boutique en ligne', 'Catalogue des produits et créneaux de retrait'); -- 14:00-17:00
-- Friday 24 January 2025
insert into Taches(Id, Debut, Fin, IdActivite, IdProjet, Facture, IdTauxHoraire, Date_Modif, Origine_Modif, Deleted, Title, Notes) values (32, 1737705600, 1737712800, 1, 10, 0, 4, 1738344600, 1, 0, 'Conférence en ligne', 'Accessibilité des services publics'); -- 09:00-11:00
insert into Taches(Id, Debut, Fin, IdActivite, IdProjet, Facture, IdTauxHoraire, Date_Modif, Origine_Modif, Deleted, Title, Notes) values (33, 1737712800, 1737718200, 5, 5, 1, 1, 1738344600, 1, 0, 'Tests des formulaires', ''); -- 11:00-12:30
insert into Taches(Id, Debut, Fin, IdActivite, IdProjet, Facture, IdTauxHoraire, Date_Modif, Origine_Modif, Deleted, Title, Notes) values (34, 1737723600, 1737730800, 5, 5, 1, 1, 1738344600, 1, 0, 'Tests sur tablette', ''); -- 14:00-16:00
insert into Taches(Id, Debut, Fin, IdActivite, IdProjet, Facture, IdTauxHoraire, Date_Modif, Origine_Modif, Deleted, Title, Notes) values (35, 1737730800, 1737734400, 8, 11, 0, 4, 1738344600, 1, 0, 'Relances clients', ''); -- 16:00-17:00
-- Monday 27 January 2025
insert into Taches(Id, Debut, Fin, IdActivite, IdProjet, Facture, IdTauxHoraire, Date_Modif, Origine_Modif, Deleted, Title, Notes) values (36, 1737963900, 1737965700, 8, 11, 0, 4, 1738344600, 1, 0, 'Planning de la semaine', ''); -- 08:45-09:15
insert into Taches(Id, Debut, Fin, IdActivite, IdProjet, Facture, IdTauxHoraire, Date_Modif, Origine_Modif, Deleted, Title, Notes) values (37, 1737965700, 1737977400, 2, 2, 0, 1, 1738344600, 1, 0, 'Mise en ligne du site vitrine', 'Nom de domaine et certificat'); -- 09:15-12:30
insert into Taches(Id, Debut, Fin, IdActivite, IdProjet, Facture, IdTauxHoraire, Date_Modif, Origine_Modif, Deleted, Title, Notes) values (38, 1737982800, 1737986400, 1, 2, 0, 1, 1738344600, 1, 0, 'Présentation à Mme Martin', ''); -- 14:00-15:00
insert into Taches(Id, Debut, Fin, IdActivite, IdProjet, Facture, IdTauxHoraire, Date_Modif, Origine_Modif, Deleted, Title, Notes) values (39, 1737986400, 1737997200, 3, 3, 0, 1, 1738344600, 1, 0, 'Maquettes de la boutique', ''); -- 15:00-18:00
-- Tuesday 28 January 2025
insert into Taches(Id, Debut, Fin, IdActivite, IdProjet, Facture, IdTauxHoraire, Date_Modif, Origine_Modif, Deleted, Title, Notes) values (40, 1738051200, 1738054800, 6, 8, 0, 2, 1738344600, 1, 0, 'Trajet vers le cabinet', ''); -- 09:00-10:00
insert into Taches(Id, Debut, Fin, IdActivite, IdProjet, Facture, IdTauxHoraire, Date_Modif, Origine_Modif, Deleted, Title, Notes) values (41, 1738054800, 1738062000, 1, 8, 0, 2, 1738344600, 1, 0, 'Restitution de l''audit', 'Présentation du rapport aux associés'); -- 10:00-12:00
insert into Taches(Id, Debut, Fin, IdActivite, IdProjet, Facture, IdTauxHoraire, Date_Modif, Origine_Modif, Deleted, Title, Notes) values (42, 1738067400, 1738071000, 6, 8, 0, 2, 1738344600, 1, 0, 'Retour', ''); -- 13:30-14:30
insert into Taches(Id, Debut, Fin, IdActivite, IdProjet, Facture, IdTauxHoraire, Date_Modif, Origine_Modif, Deleted, Title, Notes) values (43, 1738071000, 1738081800, 2, 5, 0, 1, 1738344600, 1, 0, 'Tableau de bord des agents', ''); -- 14:30-17:30
-- Wednesday 29 January 2025
insert into Taches(Id, Debut, Fin, IdActivite, IdProjet, Facture, IdTauxHoraire, Date_Modif, Origine_Modif, Deleted, Title, Notes) values (44, 1738137600, 1738150200, 2, 5, 0, 1, 1738344600, 1, 0, 'Notifications par courriel', ''); -- 09:00-12:30
insert into Taches(Id, Debut, Fin, IdActivite, IdProjet, Facture, IdTauxHoraire, Date_Modif, Origine_Modif, Deleted, Title, Notes) values (45, 1738155600, 1738168200, 4, 6, 0, 3, 1738344600, 1, 0, 'Supports de formation', 'Guide de l''agent d''accueil'); -- 14:00-17:30
-- Thursday 30 January 2025
insert into Taches(Id, Debut, Fin, IdActivite, IdProjet, Facture, IdTauxHoraire, Date_Modif, Origine_Modif, Deleted, Title, Notes) values (46, 1738222200, 1738234800, 5, 5, 0, 1, 1738344600, 1, 0, 'Recette avec la mairie', 'Deux anomalies relevées'); -- 08:30-12:00
insert into Taches(Id, Debut, Fin, IdActivite, IdProjet, Facture, IdTauxHoraire, Date_Modif, Origine_Modif, Deleted, Title, Notes) values (47, 1738240200, 1738249200, 2, 5, 0, 1, 1738344600, 1, 0, 'Corrections de recette', ''); -- 13:30-16:00
insert into Taches(Id, Debut, Fin, IdActivite, IdProjet, Facture, IdTauxHoraire, Date_Modif, Origine_Modif, Deleted, Title, Notes) values (48, 1738249200, 1738252800, 7, 7, 0, 2, 1738344600, 1, 0, 'Mise à jour des postes', ''); -- 16:00-17:00
-- Friday 31 January 2025
insert into Taches(Id, Debut, Fin, IdActivite, IdProjet, Facture, IdTauxHoraire, Date_Modif, Origine_Modif, Deleted, Title, Notes) values (49, 1738310400, 1738319400, 3, 3, 0, 1, 1738344600, 1, 0, 'Parcours de commande', ''); -- 09:00-11:30
insert into Taches(Id, Debut, Fin, IdActivite, IdProjet, Facture, IdTauxHoraire, Date_Modif, Origine_Modif, Deleted, Title, Notes) values (50, 1738319400, 1738323000, 4, 10, 0, 4, 1738344600, 1, 0, 'Notes de veille', ''); -- 11:30-12:30
insert into Taches(Id, Debut, Fin, IdActivite, IdProjet, Facture, IdTauxHoraire, Date_Modif, Origine_Modif, Deleted, Title, Notes) values (51, 1738328400, 1738335600, 4, 6, 0, 3, 1738344600, 1, 0, 'Exercices pratiques', ''); -- 14:00-16:00
insert into Taches(Id, Debut, Fin, IdActivite, IdProjet, Facture, IdTauxHoraire, Date_Modif, Origine_Modif, Deleted, Title, Notes) values (52, 1738335600, 1738342800, 8, 11, 0, 4, 1738344600, 1, 0, 'Clôture du mois', 'Factures de janvier envoyées'); -- 16:00-18:00

-- Id counters: the seeds of a new file for projects, activities and time
-- entries (the sample's ids lie below them); rates and favourites above
-- the sample's own ids.
insert into NextRowId(Name, Ppc, Pc, Serveur) values ('Projets',31,32,33);
insert into NextRowId(Name, Ppc, Pc, Serveur) values ('Activites',31,32,33);
insert into NextRowId(Name, Ppc, Pc, Serveur) values ('Taches',100,101,102);
insert into NextRowId(Name, Ppc, Pc, Serveur) values ('TauxHoraire',7,8,9);
insert into NextRowId(Name, Ppc, Pc, Serveur) values ('Favoris',7,8,9);

COMMIT;
