#include "cli/help_text.h"

#include "cli/command_table.h"

const char* const SolveHelp =
    "Użycie: tovu-cli solve PLIK [opcje]\n"
    "\n"
    "Wczytuje zbiór punktów z PLIKU (.tvu) i szuka najkrótszej otwartej drogi\n"
    "przez wszystkie punkty, jak polecenie \"Szukaj drogi\" w oknie programu.\n"
    "Wypisuje czas przeszukiwania, długość najkrótszej drogi i kolejne punkty\n"
    "drogi. Ctrl+C przerywa szukanie jak \"Przerwij\": wypisana zostaje\n"
    "najlepsza droga znaleziona do tej chwili, kod wyjścia 130.\n"
    "\n"
    "Opcje:\n"
    "  --method METODA     exhaustive (domyślnie, najwyżej 20 punktów),\n"
    "                      random (co najmniej 3 punkty),\n"
    "                      genetic (co najmniej 4 punkty)\n"
    "  --tries N           random: liczba prób, 1..32000 (domyślnie 1000)\n"
    "  --population P      genetic: liczność populacji, 10..1000 (domyślnie 100)\n"
    "  --crossover R       genetic: prawdopodobieństwo krosowania (domyślnie 0.5)\n"
    "  --mutation R        genetic: prawdopodobieństwo mutacji (domyślnie 0.05)\n"
    "  --generations G     genetic: stop po G pokoleniach, 100..32000 (domyślnie 2000)\n"
    "  --threshold T       genetic: stop, gdy zmienność populacji spadnie do T/1000,\n"
    "                      T 1..100 (zamiast --generations)\n"
    "  --keep-best         genetic: chroń najlepszą drogę w populacji\n"
    "  --seed MS           stały stan zegara dla losowania, 0..86399999 ms,\n"
    "                      dzięki czemu wynik da się powtórzyć\n"
    "  --json              wynik jako jeden obiekt JSON\n"
    "\n"
    "Liczby R podaje się z kropką dziesiętną (0.5). Wyniki dla ludzi mają\n"
    "format liczb z ustawień regionalnych, JSON zawsze z kropką.\n";

const char* const RandomHelp =
    "Użycie: tovu-cli random LICZBA [opcje]\n"
    "\n"
    "Losuje LICZBĘ punktów (0..10000) na mapie, jak polecenie \"Losuj zbiór\n"
    "punktów\", i zapisuje je w formacie pliku .tvu.\n"
    "\n"
    "Opcje:\n"
    "  --size SZERxWYS     rozmiar mapy w pikselach (domyślnie 495x382)\n"
    "  --seed MS           stały stan zegara dla losowania, 0..86399999 ms\n"
    "  -o PLIK             zapis do PLIKU zamiast na standardowe wyjście\n";

const char* const RenderHelp =
    "Użycie: tovu-cli render PLIK -o OBRAZ.png [opcje]\n"
    "\n"
    "Rysuje mapę zbioru punktów z PLIKU tak jak okno \"Mapa\" i zapisuje ją\n"
    "jako obraz PNG.\n"
    "\n"
    "Opcje:\n"
    "  -o OBRAZ.png        plik obrazu (wymagany)\n"
    "  --size SZERxWYS     rozmiar mapy w pikselach (domyślnie 495x382)\n"
    "  --route I,J,K...    droga: kolejne indeksy punktów, rysowana jako połączenia\n"
    "  --select I,J...     punkty zaznaczone (czerwone)\n";

const char* const LengthHelp =
    "Użycie: tovu-cli length PLIK --route I,J,K... [--json]\n"
    "\n"
    "Wypisuje długość otwartej drogi przez podane punkty zbioru z PLIKU.\n"
    "\n"
    "Opcje:\n"
    "  --route I,J,K...    droga: kolejne indeksy punktów (wymagana)\n"
    "  --json              wynik jako obiekt JSON\n";

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
        "PLIK \"-\" (albo /dev/stdin) to standardowe wejście.\n"
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
