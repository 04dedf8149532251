#include "cli/help_text.h"

#include "cli/command_table.h"

const char* const SolveHelp =
    "Użycie: tovu-cli solve PLIK [opcje]\n"
    "\n"
    "Wczytuje zbiór punktów z PLIKU (.tvu, .tsp albo .csv) i szuka najkrótszej\n"
    "otwartej drogi przez wszystkie punkty, jak polecenie \"Szukaj drogi\" w oknie\n"
    "programu. Wypisuje czas przeszukiwania, długość najkrótszej drogi i kolejne\n"
    "punkty drogi. Ctrl+C przerywa szukanie jak \"Przerwij\": wypisana zostaje\n"
    "najlepsza droga znaleziona do tej chwili, kod wyjścia 130.\n"
    "\n"
    "Metody (--method):\n"
    "  exhaustive          przegląd wszystkich permutacji (domyślnie, najwyżej\n"
    "                      20 punktów)\n"
    "  random              przeszukiwanie losowe (co najmniej 3 punkty)\n"
    "  genetic             algorytm genetyczny (co najmniej 4 punkty)\n"
    "  exact               metoda dokładna: najkrótsza droga, najwyżej 100\n"
    "                      punktów (programowanie dynamiczne albo podział\n"
    "                      i ograniczenia)\n"
    "  local               optymalizacja lokalna (2-opt, Or-opt, Or-3opt, łańcuchy\n"
    "                      ruchów 3-opt), dowolnie wiele punktów; dobra droga,\n"
    "                      bez gwarancji najkrótszej\n"
    "\n"
    "Opcje:\n"
    "  --method METODA     jedna z metod powyżej\n"
    "  --threads N         exhaustive, local: liczba wątków, 1..256 (domyślnie\n"
    "                      jeden na rdzeń); exhaustive: 1 to przegląd po kolei\n"
    "                      w jednym wątku; local: 1 to jeden pierścień zaburzeń,\n"
    "                      a z --tries i --seed ta sama liczba wątków daje\n"
    "                      zawsze tę samą drogę\n"
    "  --tries N           random: liczba prób, 1..32000 (domyślnie 1000);\n"
    "                      local: liczba zaburzeń, 1..10000000, zamiast limitu\n"
    "                      czasu (z --seed wynik da się powtórzyć)\n"
    "  --time-limit S      local: stop po S sekundach, 1..3600 (domyślnie 5);\n"
    "                      wyklucza --tries; exact: przerwanie dowodu po S\n"
    "                      sekundach (domyślnie bez limitu)\n"
    "  --start I           exact, local: droga zaczyna się w punkcie I\n"
    "  --population P      genetic: liczność populacji, 10..1000 (domyślnie 100)\n"
    "  --crossover R       genetic: prawdopodobieństwo krosowania (domyślnie 0.5)\n"
    "  --mutation R        genetic: prawdopodobieństwo mutacji (domyślnie 0.05)\n"
    "  --generations G     genetic: stop po G pokoleniach, 100..32000 (domyślnie 2000)\n"
    "  --threshold T       genetic: stop, gdy zmienność populacji spadnie do T/1000,\n"
    "                      T 1..100 (zamiast --generations)\n"
    "  --keep-best         genetic: chroń najlepszą drogę w populacji\n"
    "  --seed MS           stały stan zegara dla losowania, 0..86399999 ms,\n"
    "                      dzięki czemu wynik da się powtórzyć\n"
    "  --bound             po szukaniu policz też dolne ograniczenie długości\n"
    "                      drogi i wypisz, o ile najwyżej droga jest dłuższa od\n"
    "                      najkrótszej\n"
    "  -o PLIK             zapisz drogę do PLIKU: .tour (TSPLIB) albo .csv\n"
    "                      (kolejność,indeks,x,y); \"-\" to standardowe wyjście,\n"
    "                      a wyniki idą wtedy na standardowe wyjście błędów\n"
    "  --format RODZAJ     tour albo csv: rodzaj pliku dla -o - (domyślnie tour)\n"
    "  --json              wynik jako jeden obiekt JSON\n"
    "  --trace PLIK        zapisuj do PLIKU CSV każdą poprawę drogi, gdy tylko\n"
    "                      nastąpi: elapsed_ms,length (czas od początku szukania\n"
    "                      i długość); \"-\" to standardowe wyjście (wyniki idą\n"
    "                      wtedy na standardowe wyjście błędów), a z --json\n"
    "                      tablica \"improvements\" w wyniku\n"
    "\n"
    "Liczby R i S podaje się z kropką dziesiętną (0.5). Wyniki dla ludzi mają\n"
    "format liczb z ustawień regionalnych, JSON zawsze z kropką.\n";

const char* const CompareHelp =
    "Użycie: tovu-cli compare PLIK [opcje]\n"
    "\n"
    "Wczytuje zbiór punktów z PLIKU i szuka drogi po kolei każdą z podanych\n"
    "metod (z ustawieniami domyślnymi okna), potem liczy raz dolne ograniczenie\n"
    "długości drogi i wypisuje jedną tabelę: metoda, długość, czas, luka do\n"
    "ograniczenia (o ile najwyżej droga jest dłuższa od najkrótszej) i stosunek\n"
    "do najkrótszej znalezionej. Metoda, która nie obsługuje tego zbioru, jest\n"
    "pominięta z podaniem powodu. Droga udowodniona jako najkrótsza podnosi\n"
    "ograniczenie do swojej długości. Ctrl+C przerywa metodę, która właśnie\n"
    "szuka, pomija następne i wypisuje tabelę, kod wyjścia 130.\n"
    "\n"
    "Opcje:\n"
    "  --methods M,M...    metody do porównania (domyślnie\n"
    "                      exhaustive,random,genetic,exact,local)\n"
    "  --time-limit S      limit czasu każdej metody, 1..3600 s; local szuka\n"
    "                      tyle (domyślnie 5 s), inne przerywa po tym czasie\n"
    "                      (domyślnie szukają do końca)\n"
    "  --seed MS           stały stan zegara dla losowania, 0..86399999 ms\n"
    "  --json              wynik jako obiekt JSON: {\"points\": N, \"bound\": B,\n"
    "                      \"methods\": [...]}, luka jako ułamek (\"gap\")\n"
    "\n"
    "Kod wyjścia 1, gdy żadna z podanych metod nie obsługuje zbioru.\n";

const char* const BoundHelp =
    "Użycie: tovu-cli bound PLIK [--json]\n"
    "\n"
    "Wczytuje zbiór punktów z PLIKU i liczy dolne ograniczenie długości\n"
    "najkrótszej otwartej drogi (oszacowanie Helda-Karpa): żadna droga przez\n"
    "te punkty nie jest krótsza. Ctrl+C przerywa liczenie: wypisane zostaje\n"
    "najlepsze pewne ograniczenie do tej chwili (albo informacja, że jeszcze\n"
    "go nie ma), kod wyjścia 130.\n"
    "\n"
    "Opcje:\n"
    "  --json              wynik jako obiekt JSON: {\"points\": N, \"bound\": B},\n"
    "                      B null, gdy przerwano przed pierwszym oszacowaniem\n";

const char* const RandomHelp =
    "Użycie: tovu-cli random LICZBA [opcje]\n"
    "\n"
    "Losuje LICZBĘ punktów (0..10000) na mapie, jak polecenie \"Losuj zbiór\n"
    "punktów\", i zapisuje je w formacie, który wskazuje rozszerzenie pliku -o:\n"
    ".tvu, .tsp (TSPLIB, EUC_2D) albo .csv (x,y).\n"
    "\n"
    "Opcje:\n"
    "  --size SZERxWYS     rozmiar mapy, 1..2147483647 w każdą stronę\n"
    "                      (domyślnie 495x382)\n"
    "  --seed MS           stały stan zegara dla losowania, 0..86399999 ms\n"
    "  -o PLIK             zapis do PLIKU .tvu, .tsp albo .csv zamiast na\n"
    "                      standardowe wyjście (\"-\")\n"
    "  --format RODZAJ     tvu, tsp albo csv: format dla -o - (domyślnie tvu)\n";

const char* const RenderHelp =
    "Użycie: tovu-cli render PLIK -o OBRAZ [opcje]\n"
    "\n"
    "Rysuje mapę zbioru punktów z PLIKU tak jak okno \"Mapa\" i zapisuje ją\n"
    "jako obraz PNG, SVG albo PDF, zależnie od rozszerzenia nazwy OBRAZU.\n"
    "Zbiór, który wychodzi poza obraz, jest pokazany cały, jak z --fit.\n"
    "\n"
    "Opcje:\n"
    "  -o OBRAZ            plik .png, .svg albo .pdf (wymagany); \"-\" to\n"
    "                      standardowe wyjście (PNG i PDF nigdy na terminal)\n"
    "  --format RODZAJ     png, svg albo pdf: rodzaj obrazu dla -o - (domyślnie png)\n"
    "  --size SZERxWYS     rozmiar obrazu w pikselach, 1..8192 w każdą stronę\n"
    "                      (domyślnie 495x382, PDF: strona A4)\n"
    "  --fit               dopasuj mapę do punktów: jedna skala dla obu osi,\n"
    "                      punkty wypełniają obraz z marginesem\n"
    "  --route I,J,K...    droga: kolejne indeksy punktów, rysowana jako połączenia\n"
    "  --tour DROGA.tour   droga z pliku TSPLIB (wyklucza --route)\n"
    "  --select I,J...     punkty zaznaczone (czerwone)\n"
    "  --numbers           numery punktów tam, gdzie się mieszczą\n";

const char* const LengthHelp =
    "Użycie: tovu-cli length PLIK (--route I,J,K... | --tour DROGA.tour) [--json]\n"
    "\n"
    "Wypisuje długość otwartej drogi przez podane punkty zbioru z PLIKU.\n"
    "\n"
    "Opcje:\n"
    "  --route I,J,K...    droga: kolejne indeksy punktów; -1 nie oznacza\n"
    "                      żadnego punktu, a odcinki przy nim się pomija\n"
    "  --tour DROGA.tour   droga z pliku TSPLIB (na przykład z solve -o)\n"
    "  --json              wynik jako obiekt JSON\n";

const char* const ConvertHelp =
    "Użycie: tovu-cli convert WEJŚCIE WYJŚCIE [--format RODZAJ]\n"
    "\n"
    "Zapisuje zbiór punktów z pliku WEJŚCIE w pliku WYJŚCIE w formacie, który\n"
    "wskazuje rozszerzenie: .tvu, .tsp (TSPLIB, EUC_2D) albo .csv (x,y).\n"
    "Współrzędne niecałkowite zostają zaokrąglone (z komunikatem).\n"
    "\n"
    "Opcje:\n"
    "  --format RODZAJ     tvu, tsp albo csv: format dla WYJŚCIA \"-\"\n"
    "                      (standardowe wyjście; domyślnie tvu)\n";

std::string GeneralHelp()
{
    std::string text =
        "Użycie: tovu-cli POLECENIE [argumenty]\n"
        "\n"
        "Tovu bez okien: szukanie najkrótszej drogi, losowanie zbiorów punktów\n"
        "i rysowanie mapy, tymi samymi algorytmami co w oknie programu.\n"
        "\n"
        "Polecenia:\n";
    for (const TCliCommand& command : CliCommands())
        text += std::string("  ") + command.Summary + "\n";
    text +=
        "\n"
        "  tovu-cli POLECENIE --help   opis polecenia i jego opcji\n"
        "  tovu-cli --version          wersja programu\n"
        "\n"
        "PLIK \"-\" (albo /dev/stdin) to standardowe wejście. Zbiory punktów\n"
        "czyta się z plików .tvu, .tsp (TSPLIB) i .csv, według rozszerzenia;\n"
        "ze standardowego wejścia jako .tvu.\n"
        "\n"
        "Kody wyjścia: 0 sukces, 1 błąd odczytu lub zapisu pliku albo zbiór\n"
        "nieodpowiedni dla metody, 2 błędne wywołanie, 130 przerwane przez Ctrl+C.\n";
    return text;
}

std::string CommandHelp(const std::string& command)
{
    const TCliCommand* found = FindCliCommand(command);
    return found ? found->Help : std::string();
}
