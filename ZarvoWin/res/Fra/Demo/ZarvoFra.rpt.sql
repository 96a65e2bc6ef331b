-- Sample report definitions shipped for French, given with the sample
-- database to a user created with the sample data: reports of every kind
-- over the sample's projects, in the layout of a report database of
-- version 1. Each names one of the delivered print templates: "zarvo", or
-- "zarvo-nb" for black-and-white printers.

BEGIN TRANSACTION;

create table Reports(Id integer PRIMARY KEY AUTOINCREMENT, Nom text, Periode integer, Debut date, Fin date, Status integer, ShowStatus int, Type integer, Projets text, Activités text, Titre text, Grp_1 integer, Grp_2 integer, Grp_3 integer, Grp_4 integer, Grp_5 integer, Grp_Col integer, Detail int, Modele text, PaperSize int, PaperWidth int, PaperHeight int, Portrait int, MargeLeft int, MargeTop int, MargeRight int, MargeBottom int, Colonnes text);
create table OnScreen(Id integer, Preview integer, Zoom integer);
create table Infos(Name text, Value text);
insert into Infos(Name, Value) values ('VersionDB','1');

-- Type: 0 time, 1 cost, 2 time and cost, 3 cross table, 4 project tracking.
-- Periode: 0 whole database, 3 previous month, 4 current month, 6 current week.
-- Grp_n: 1 month, 2 day, 3 project, 4 activity, -1 no further level;
-- Grp_Col: the columns of a cross table (1 month).
-- Colonnes: empty for the default columns of the report; otherwise each
-- column as key;alignment;shown;width;caption followed by "|".
insert into Reports (Nom,Periode,Debut,Fin,Status,ShowStatus,Type,Projets,Activités,Titre,Grp_1,Grp_2,Grp_3,Grp_4,Grp_5,Grp_Col,Detail,Modele,PaperSize,PaperWidth,PaperHeight,Portrait,MargeLeft,MargeTop,MargeRight,MargeBottom,Colonnes)
  values ('Temps du mois par projet',4,'2025-01-01','2025-01-31',0,1,0,'','','',3,4,-1,-1,-1,0,1,'zarvo',9,2100,2970,1,100,100,100,100,'');
insert into Reports (Nom,Periode,Debut,Fin,Status,ShowStatus,Type,Projets,Activités,Titre,Grp_1,Grp_2,Grp_3,Grp_4,Grp_5,Grp_Col,Detail,Modele,PaperSize,PaperWidth,PaperHeight,Portrait,MargeLeft,MargeTop,MargeRight,MargeBottom,Colonnes)
  values ('Semaine en cours par jour',6,'2025-01-13','2025-01-19',0,1,0,'','','',2,3,-1,-1,-1,0,1,'zarvo',9,2100,2970,1,100,100,100,100,'');
insert into Reports (Nom,Periode,Debut,Fin,Status,ShowStatus,Type,Projets,Activités,Titre,Grp_1,Grp_2,Grp_3,Grp_4,Grp_5,Grp_Col,Detail,Modele,PaperSize,PaperWidth,PaperHeight,Portrait,MargeLeft,MargeTop,MargeRight,MargeBottom,Colonnes)
  values ('Mois précédent par activité',3,'2024-12-01','2024-12-31',0,1,0,'','','',4,3,-1,-1,-1,0,1,'zarvo',9,2100,2970,1,100,100,100,100,'');
insert into Reports (Nom,Periode,Debut,Fin,Status,ShowStatus,Type,Projets,Activités,Titre,Grp_1,Grp_2,Grp_3,Grp_4,Grp_5,Grp_Col,Detail,Modele,PaperSize,PaperWidth,PaperHeight,Portrait,MargeLeft,MargeTop,MargeRight,MargeBottom,Colonnes)
  values ('Coûts détaillés par projet',0,'2024-11-04','2025-01-31',0,1,1,'','','',3,-1,-1,-1,-1,0,1,'zarvo-nb',9,2100,2970,1,100,100,100,100,'');
insert into Reports (Nom,Periode,Debut,Fin,Status,ShowStatus,Type,Projets,Activités,Titre,Grp_1,Grp_2,Grp_3,Grp_4,Grp_5,Grp_Col,Detail,Modele,PaperSize,PaperWidth,PaperHeight,Portrait,MargeLeft,MargeTop,MargeRight,MargeBottom,Colonnes)
  values ('Temps et coûts par client et par mois',0,'2024-11-04','2025-01-31',0,1,2,'','','',3,1,-1,-1,-1,0,0,'zarvo',9,2100,2970,1,100,100,100,100,'Project;-1;1;-1;Client|Duree;-1;1;-1;|PercentDuree;-1;1;-1;Part du temps|Cout;-1;1;-1;Montant HT|PercentCout;-1;1;-1;|Date;-1;0;-1;|Activity;-1;0;-1;|Debut;-1;0;-1;|Fin;-1;0;-1;|Rate;-1;0;-1;|Facture;-1;0;-1;|Title;-1;0;-1;|Notes;-1;0;-1;|ProjectFullName;-1;0;-1;|ProjectTitle;-1;0;-1;|ProjectDescr;-1;0;-1;|ActivityDescr;-1;0;-1;|RateName;-1;0;-1;|RateDescr;-1;0;-1;|DateLong;-1;0;-1;|DateShort;-1;0;-1;|');
insert into Reports (Nom,Periode,Debut,Fin,Status,ShowStatus,Type,Projets,Activités,Titre,Grp_1,Grp_2,Grp_3,Grp_4,Grp_5,Grp_Col,Detail,Modele,PaperSize,PaperWidth,PaperHeight,Portrait,MargeLeft,MargeTop,MargeRight,MargeBottom,Colonnes)
  values ('Temps par projet et par mois',0,'2024-11-04','2025-01-31',0,1,3,'','','',3,-1,-1,-1,-1,1,1,'zarvo',9,2100,2970,0,100,100,100,100,'');
insert into Reports (Nom,Periode,Debut,Fin,Status,ShowStatus,Type,Projets,Activités,Titre,Grp_1,Grp_2,Grp_3,Grp_4,Grp_5,Grp_Col,Detail,Modele,PaperSize,PaperWidth,PaperHeight,Portrait,MargeLeft,MargeTop,MargeRight,MargeBottom,Colonnes)
  values ('Suivi des projets',0,'2024-11-04','2025-01-31',0,1,4,'','','',-1,-1,-1,-1,-1,0,1,'zarvo',9,2100,2970,0,100,100,100,100,'');

COMMIT;
