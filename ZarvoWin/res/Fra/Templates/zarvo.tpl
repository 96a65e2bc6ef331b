[Zarvo template, Version=1]
! Modèle par défaut des rapports : en couleurs, bandes alternées bleutées.

! En-tête de chaque page : titre du rapport et date d'édition.
[Header]
params=70
text=0;45;0;1;0;700;0;1;0;0x000000;0;0x000000;[Title];Arial;8;0;1;0;0;0x606060;8;0
text=0;45;1;1;0;300;0;1;0;0x000000;0;0x000000;[DateShort];Arial;8;0;0;0;0;0x606060;10;0
line=55;0;0;1;0;1000;0;3;0;0x808080;0;0x000000

! Première page : titre et période du rapport.
[Title]
params=170
text=10;90;0;1;0;1000;0;1;0;0x000000;0;0x000000;[Title];Arial;20;1;0;0;0;0x1F4E79;8;0
text=105;50;0;1;0;1000;0;1;0;0x000000;0;0x000000;Du [StartDate] au [EndDate];Arial;10;0;0;0;0;0x404040;0;0
line=165;0;0;1;0;1000;0;5;0;0x1F4E79;0;0x000000

! Titres des colonnes.
[DataHeader]
params=70
data=0;70;0;1;0;1000;10;3;0;0x1F4E79;1;0x1F4E79;;Arial;9;1;0;0;0;0xFFFFFF;4;15;15;1;0;0xFFFFFF;2;0

! Lignes de détail, en bandes alternées (la ligne paire ouvre chaque page).
[DataLineEven]
params=50
data=0;50;0;1;0;1000;0;1;0;0x000000;0;0x000000;;Arial;9;0;0;0;0;0x000000;4;15;15;0;0;0xC0C0C0;2;0
[DataLineOdd]
params=50
data=0;50;0;1;0;1000;0;1;0;0x000000;1;0xEAF1F8;;Arial;9;0;0;0;0;0x000000;4;15;15;0;0;0xC0C0C0;2;0

! Regroupement de niveau 1 : titre, total et ligne unique.
[GroupHeader=1]
params=60
data=5;55;0;1;0;1000;8;2;0;0x1F4E79;1;0xC9DAEA;;Arial;10;1;0;0;0;0x1F4E79;4;15;15;0;0;0x000000;2;0
[GroupFooter=1]
params=55
data=0;50;0;1;0;1000;2;2;0;0x1F4E79;0;0x000000;;Arial;9;1;0;0;0;0x000000;4;15;15;0;0;0x000000;2;0
[GroupLine=1]
params=50
data=0;50;0;1;0;1000;8;1;0;0xC0C0C0;0;0x000000;;Arial;9;1;0;0;0;0x000000;4;15;15;0;0;0xC0C0C0;2;0

! Regroupement de niveau 2 : titre, total et ligne unique.
[GroupHeader=2]
params=60
data=0;60;0;1;0;1000;8;2;0;0x1F4E79;1;0xDDE8F3;;Arial;9;1;0;0;0;0x1F4E79;4;15;55;0;0;0x000000;2;0
[GroupFooter=2]
params=55
data=0;50;0;1;0;1000;2;2;0;0x1F4E79;0;0x000000;;Arial;9;1;1;0;0;0x000000;4;15;55;0;0;0x000000;2;0
[GroupLine=2]
params=50
data=0;50;0;1;0;1000;8;1;0;0xC0C0C0;0;0x000000;;Arial;9;0;0;0;0;0x000000;4;15;55;0;0;0xC0C0C0;2;0

! Regroupement de niveau 3 : titre, total et ligne unique.
[GroupHeader=3]
params=60
data=0;60;0;1;0;1000;8;2;0;0x1F4E79;1;0xEEF3F9;;Arial;9;1;0;0;0;0x1F4E79;4;15;95;0;0;0x000000;2;0
[GroupFooter=3]
params=55
data=0;50;0;1;0;1000;2;2;0;0x1F4E79;0;0x000000;;Arial;9;1;1;0;0;0x000000;4;15;95;0;0;0x000000;2;0
[GroupLine=3]
params=50
data=0;50;0;1;0;1000;8;1;0;0xC0C0C0;0;0x000000;;Arial;9;0;0;0;0;0x000000;4;15;95;0;0;0xC0C0C0;2;0

! Regroupement de niveau 4 : titre, total et ligne unique.
[GroupHeader=4]
params=60
data=0;60;0;1;0;1000;8;2;0;0x1F4E79;0;0x000000;;Arial;9;1;0;0;0;0x1F4E79;4;15;135;0;0;0x000000;2;0
[GroupFooter=4]
params=55
data=0;50;0;1;0;1000;2;2;0;0x1F4E79;0;0x000000;;Arial;9;1;1;0;0;0x000000;4;15;135;0;0;0x000000;2;0
[GroupLine=4]
params=50
data=0;50;0;1;0;1000;8;1;0;0xC0C0C0;0;0x000000;;Arial;9;0;0;0;0;0x000000;4;15;135;0;0;0xC0C0C0;2;0

! Regroupement de niveau 5 : titre, total et ligne unique.
[GroupHeader=5]
params=60
data=0;60;0;1;0;1000;8;2;0;0x1F4E79;0;0x000000;;Arial;9;1;0;0;0;0x1F4E79;4;15;175;0;0;0x000000;2;0
[GroupFooter=5]
params=55
data=0;50;0;1;0;1000;2;2;0;0x1F4E79;0;0x000000;;Arial;9;1;1;0;0;0x000000;4;15;175;0;0;0x000000;2;0
[GroupLine=5]
params=50
data=0;50;0;1;0;1000;8;1;0;0xC0C0C0;0;0x000000;;Arial;9;0;0;0;0;0x000000;4;15;175;0;0;0xC0C0C0;2;0

! Total d'un rapport regroupé, puis d'un tableau croisé.
[DataFooter]
params=65
data=5;60;0;1;0;1000;10;5;0;0x1F4E79;1;0xC9DAEA;;Arial;10;1;0;0;0;0x000000;4;15;15;0;0;0x000000;2;0
[DataFooterRecap]
params=65
data=5;60;0;1;0;1000;10;5;0;0x1F4E79;1;0xC9DAEA;;Arial;10;1;0;0;0;0x000000;4;15;15;0;0;0x000000;2;0

! Fin du rapport, sur la dernière page.
[End]
params=90
text=30;50;1;1;0;600;0;1;0;0x000000;0;0x000000;Total général : [Total];Arial;10;1;0;0;0;0x1F4E79;10;0

! Pied de chaque page : numéro de page.
[Footer]
params=60
line=0;0;0;1;0;1000;0;3;0;0x808080;0;0x000000
text=10;45;0;1;0;600;0;1;0;0x000000;0;0x000000;Rapport du [Date];Arial;8;0;0;0;0;0x606060;0;0
text=10;45;1;1;0;400;0;1;0;0x000000;0;0x000000;Page [NumPage] / [NbPage];Arial;8;0;0;0;0;0x606060;2;0
