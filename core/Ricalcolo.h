#pragma once
// The current account recalculated as the law would have kept it: the bank's
// interest, CMS and fees taken out of the movements and recomputed day by day
// on the corrected balance, period by period under the rules of that period;
// the undue charges, the remittances that paid them and what of them is
// prescribed. Pure functions over plain data, amounts in integer cents.
#include "Condizioni.h"
#include "Movimenti.h"
#include "TassoLegale.h"

#include <chrono>
#include <cstddef>
#include <optional>
#include <string>
#include <utility>
#include <vector>

// A calendar quarter (numero 1 to 4); numero 0 stands for the whole year in
// the yearly rows of the results.
struct TrimestreAnno {
    int anno = 0;
    int numero = 0;
    auto operator<=>(const TrimestreAnno&) const = default;
};

// ---------------------------------------------------------------- options

enum class SaldoIniziale : std::uint8_t { Dichiarato, Zero };
enum class TassoSostitutivo : std::uint8_t { Legale, BOT };
enum class GratuitaUsura : std::uint8_t { SoloTrimestre, DalPrimoTrimestre };
enum class CapitalizzazioneAnte2000 : std::uint8_t { Nessuna, Annuale };
enum class Capitalizzazione2014 : std::uint8_t { Nessuna, ComePattuita };
enum class DateRicalcolo : std::uint8_t { Valuta, Contabile };

// The substitute rates of art. 117 c. 7 TUB for the days of one year, typed
// by the user: the minimum and the maximum yield of the annual BOT issued in
// the twelve months before, as fractions (0.0321 = 3,21 %). The minimum
// replaces the debit rates, the maximum the credit rate.
struct TassiBOT {
    int anno = 0;
    double minimo = 0, massimo = 0;
};

// Every choice of the recalculation; the defaults are those a court applies
// most often. OpzioniRicalcoloDisponibili() names each with its law.
struct OpzioniRicalcolo {
    // Start from the first statement's declared opening balance, or from
    // zero when the early statements are missing.
    SaldoIniziale saldoIniziale = SaldoIniziale::Dichiarato;
    // Where the rates were not agreed in writing or refer to "usi di piazza".
    TassoSostitutivo tassoSostitutivo = TassoSostitutivo::Legale;
    std::vector<TassiBOT> tassiBOT;  // needed only with TassoSostitutivo::BOT, one row per year
    // The quarters whose T.E.G. is above the usury threshold (worked out by
    // the usury check) and how far the loss of interest reaches.
    std::vector<TrimestreAnno> trimestriOltreSoglia;
    GratuitaUsura gratuita = GratuitaUsura::SoloTrimestre;
    bool gratuitaAncheCommissioni = false;  // in those quarters also the CMS and the fees are not due
    CapitalizzazioneAnte2000 ante2000 = CapitalizzazioneAnte2000::Nessuna;
    // Whether the bank's adaptation by notice in the Gazzetta Ufficiale in
    // 2000 counts as agreement of the quarterly reciprocal capitalisation,
    // for an account opened before 01/07/2000.
    bool adeguamento2000 = false;
    Capitalizzazione2014 dal2014 = Capitalizzazione2014::Nessuna;
    DateRicalcolo date = DateRicalcolo::Valuta;
    // Prescription: the date of the interrupting act (claim or writ) and the
    // closing date of the account; empty = none / still open.
    std::optional<std::chrono::sys_days> attoInterruttivo;
    std::optional<std::chrono::sys_days> chiusuraConto;
};

// One option as the window offers it and the report prints it.
struct DescrizioneOpzione {
    std::string chiave;               // the member of OpzioniRicalcolo
    std::string titolo;               // "Capitalizzazione fino al 30/06/2000"
    std::vector<std::string> scelte;  // the choices in the order of the enum (No/Sì for a flag)
    std::size_t predefinita = 0;      // index of the default in scelte
    std::string norma;                // the law or judgment it follows
};

// The choice options, in the order the window shows them. Never fails.
const std::vector<DescrizioneOpzione>& OpzioniRicalcoloDisponibili();

// The choice made for the option named `chiave` (an index in its scelte),
// and making one; an unknown key or choice out of range throws
// std::out_of_range.
std::size_t SceltaOpzione(const OpzioniRicalcolo& opzioni, const std::string& chiave);
void ScegliOpzione(OpzioniRicalcolo& opzioni, const std::string& chiave, std::size_t scelta);

// One line of the report's list of rules: an option with the choice made, or
// a rule that is not an option (CMS and fees, the 2016 rule, remittances).
struct VoceOpzione {
    std::string titolo, scelta, norma;
    bool predefinita = true;  // the default choice (always true for a rule)
};

// The choices made and the fixed rules, each with its law, in report order.
// Never fails.
std::vector<VoceOpzione> OpzioniScelte(const OpzioniRicalcolo& opzioni);

// ---------------------------------------------------------------- results

// The charges of a period. Amounts are positive when they go the way their
// name says: interest and charges taken from the client, interest credited
// to the client. effettoValuta is not added: it is the part of the net
// interest (debit less credit) that comes from the value dates.
struct OneriPeriodo {
    Centesimi interessiDebitori = 0;
    Centesimi interessiCreditori = 0;
    Centesimi cms = 0;
    Centesimi commissioni = 0;
    Centesimi effettoValuta = 0;
    // Debit interest + CMS + fees - credit interest.
    Centesimi Costo() const { return interessiDebitori + cms + commissioni - interessiCreditori; }
};

// One step of the working, for the report: "Interessi debitori",
// "Σ numeri × tasso ÷ divisore", "1.234.567,00 × 10,500% ÷ 365 (tassi
// pattuiti)", "35,52".
struct Passaggio {
    std::string voce, formula, calcolo, risultato;
};

// A quarter (periodo.numero 1-4) or a year (numero 0) of the results.
struct RigaRicalcolo {
    TrimestreAnno periodo;
    std::chrono::sys_days inizio{}, fine{};  // the days of the account it covers
    OneriPeriodo banca, ricalcolato;
    // The bank's balance and the corrected one at the end of the period;
    // interessiAParte is the part of the corrected balance made of interest
    // kept apart from the capital (bearing no interest, or not yet due).
    Centesimi saldoBanca = 0, saldoRicalcolato = 0, interessiAParte = 0;
    bool oltreSoglia = false;  // listed among the quarters above the threshold
    bool gratuito = false;     // its debit interest is not due (art. 1815 c. 2 c.c.)
    std::string tassi;             // where the rates came from: "tassi pattuiti", "tasso legale", ...
    std::string capitalizzazione;  // the rule applied to its interest
    std::vector<Passaggio> passaggi;  // quarters only

    OneriPeriodo Differenza() const;  // banca - ricalcolato, field by field
};

// The two balances at the end of a day; one point for each day either changes,
// plus the first and last day: a step series for the chart.
struct PuntoSaldi {
    std::chrono::sys_days giorno{};
    Centesimi banca = 0, ricalcolato = 0;
};

// What the bank took in a quarter beyond what is recomputed (the positive part
// of the difference of the costs), posted on the day of the bank's last
// charge of the quarter; how much of it the remittances paid and how much of
// that is prescribed.
struct AddebitoIndebito {
    TrimestreAnno trimestre;
    std::chrono::sys_days data{};
    Centesimi importo = 0, coperto = 0, prescritto = 0;
};

// A credit movement of the corrected account split as Cass. S.U. 24418/2010
// splits it: solutoria = min(importo, max(0, -saldoPrima - fido)), the rest
// ripristinatoria. saldoPrima is the corrected balance that bears interest
// (the interest kept apart is not in it) just before the movement, after the
// movements of the same day given before it; fido the credit line in force.
// coperture lists the undue charges it paid (index in
// EsitoRicalcolo::addebiti, amount).
struct Rimessa {
    std::chrono::sys_days data{};
    std::size_t movimento = 0;  // index in the movements given
    Centesimi importo = 0, saldoPrima = 0, fido = 0, solutoria = 0, ripristinatoria = 0;
    std::vector<std::pair<std::size_t, Centesimi>> coperture;
    bool prescritta = false;  // paid more than ten years before the interrupting act
};

struct TotaliRicalcolo {
    Centesimi addebitiIndebiti = 0;        // sum of AddebitoIndebito::importo
    Centesimi effettoSaldo = 0;            // saldoFinaleRicalcolato - saldoFinaleBanca
    Centesimi prescritti = 0;
    // Closed account: the undue charges not prescribed. Open account: those
    // paid by remittances not prescribed (the rest corrects the balance).
    Centesimi ripetibili = 0;
    Centesimi saldoFinaleBanca = 0, saldoFinaleRicalcolato = 0;
    Centesimi interessiAParte = 0;  // part of saldoFinaleRicalcolato
};

struct EsitoRicalcolo {
    // Faults of the input, in Italian, naming the period or the date. When
    // there is any, everything below is empty: no result stands as valid.
    std::vector<std::string> errori;
    std::vector<std::string> avvertenze;  // what the user should know of a valid result
    std::chrono::sys_days inizio{}, fine{};
    std::vector<RigaRicalcolo> trimestri, anni;
    std::vector<PuntoSaldi> saldi;
    std::vector<AddebitoIndebito> addebiti;  // in date order
    std::vector<Rimessa> rimesse;            // every credit movement kept, in day order
    TotaliRicalcolo totali;
    std::vector<Passaggio> passaggiTotali;

    bool Valido() const { return errori.empty(); }
};

// The input faults Ricalcola refuses, without computing: no movements; the
// faults of ControllaCondizioni; a movement or the declared opening balance
// before the first condition period; BOT rows out of 0-100 %, minimum above
// maximum or a year twice; a quarter numbered outside 1-4; a closing date
// before the last movement; an interrupting act before the first movement.
// Empty when sound. Never throws (only std::bad_alloc).
std::vector<std::string> ControllaRicalcolo(const std::vector<Movimento>& movimenti,
                                            const std::vector<SaldiEstratto>& saldi,
                                            const CondizioniConto& condizioni, const OpzioniRicalcolo& opzioni);

// Recalculates the account from the movements (any order), the statements'
// declared balances, the contract conditions, the legal rate series and the
// options. The account runs from its first day (first movement or declared
// opening balance) to its last (last movement, last statement or closing
// date); the days are taken by value date or booking date as the options say.
// The balance before every movement is the earliest statement's declared
// opening balance less the movements booked before its date (which it
// already holds); zero without statements.
// The bank's charges of each quarter are those its scale (CalcolaScalare)
// sums by class and quarter of value date.
// Returns the result, or an EsitoRicalcolo with errori only: the faults of
// ControllaRicalcolo, a balance the scale cannot hold, and a day needing the
// legal rate the series does not cover or a year needing BOT rates the table
// does not give. Never throws
// (only std::bad_alloc).
EsitoRicalcolo Ricalcola(const std::vector<Movimento>& movimenti, const std::vector<SaldiEstratto>& saldi,
                         const CondizioniConto& condizioni, const SerieTassoLegale& tassoLegale,
                         const OpzioniRicalcolo& opzioni);
